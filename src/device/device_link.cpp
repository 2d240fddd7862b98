#include "device/device_link.h"

#include <algorithm>
#include <cstdio>

#include "image/builtin_image.h"
#include "image/key_code_texts.h"
#include "image/section_checks.h"
#include "image/sections.h"

namespace device {
namespace {

constexpr int kPollPairs = 5;
constexpr int kStablePairsNeeded = 2;
constexpr int kOpenDelayMs = 2000;
constexpr std::uint8_t kCheckValue = 0xAF;
constexpr std::uint8_t kFlashClass32 = 0x9D;
constexpr std::uint8_t kFlashClass64 = 0xC8;

bool isEmpty(const image::DeviceIdentity& id) {
    return id.vendorId == 0 || id.productId == 0;
}

bool isMacroClass(std::uint8_t c) {
    return c == 0xA0 || c == 0xA5 || c == 0xAA;
}

// Whether writes cut short can have left `held` in the mouse: every 8-byte chunk is as one of
// `images` or erased, or, where a write stopped inside it, as one of them up to a byte and as
// another (the bytes not written yet) from there on.
bool explainedByCutWrites(std::span<const image::Byte> held,
                          const std::vector<std::array<image::Byte, image::kImageSize>>& images) {
    constexpr std::size_t kChunk = 8;
    for (std::size_t at = 0; at < held.size(); at += kChunk) {
        const std::size_t n = std::min(kChunk, held.size() - at);
        std::size_t prefix = 0, suffix = 0;
        const auto consider = [&](const auto& byteAt) {
            std::size_t p = 0, q = 0;
            while (p < n && held[at + p] == byteAt(at + p)) ++p;
            while (q < n && held[at + n - 1 - q] == byteAt(at + n - 1 - q)) ++q;
            prefix = std::max(prefix, p);
            suffix = std::max(suffix, q);
        };
        consider([](std::size_t) { return image::Byte{0xFF}; });
        for (const auto& image : images) consider([&](std::size_t i) { return image[i]; });
        if (prefix + suffix < n) return false;
    }
    return true;
}

constexpr std::array<bool, image::kMacroCount> kAllMacros = [] {
    std::array<bool, image::kMacroCount> all{};
    all.fill(true);
    return all;
}();

template <std::size_t N>
std::array<image::Byte, N> sectionCopy(const image::SectionBuf& buf, const image::Section& s) {
    std::array<image::Byte, N> out{};
    std::ranges::copy(image::sectionBytes(buf, s), out.begin());
    return out;
}

}  // namespace

DeviceLink::DeviceLink(HidTransport& transport, LinkWindow& window, LinkHost& host,
                       image::EditorImage& image)
    : transport_(transport), window_(window), host_(host), image_(image) {
    chunkPump_ = [this] {
        if (progress_.total > 0) window_.ShowTransferProgress(++progress_.done, progress_.total);
        pump();
    };
}

void DeviceLink::TakeStartupIdentity() {
    const auto& bytes = image_.dataBuf.image;
    builtInIdentity_ = image::identityOf(bytes);
    const image::LayoutType layout = bytes[1];
    if (layout == image::kLayout29 || layout == image::kLayout58) {
        imageLayout_ = layout;
        modelIdReference_ = image::modelIdOf(bytes);
    }
    identities_[0] = builtInIdentity_;
}

image::ConversionContext DeviceLink::conversionContext() const {
    return {imageLayout_, deviceLayout_, kind_ == DeviceKind::Macro, builtInIdentity_};
}

void DeviceLink::pump() {
    window_.ShowWaitWindow();
    host_.processMessages();
}

// ---- presence polling and identification ----

void DeviceLink::DevTimerTimer() {
    if (pollBusy_) return;
    Busy busy(*this);
    pollBusy_ = true;
    int current = 0;
    int stablePairs = 0;
    for (int pair = 0; pair < kPollPairs; ++pair) {
        const int first = transport_.CountHidDevices();
        const int second = transport_.CountHidDevices();
        if (first == second) ++stablePairs;
        current = first;
    }
    // The first tick always looks: with no mouse at start the count stays at its initial 0, and
    // the built-in page would otherwise pass for a connected mouse forever.
    const bool countChanged =
        (current != lastCount_ || !detectedOnce_) && stablePairs >= kStablePairsNeeded;
    // A mouse unplugged and plugged back within one interval leaves the count as it was: its
    // node is gone or no longer answers, or a transfer already found it gone.
    const bool lost = relinkPending_ || (deviceOpen() && !transport_.MouseStillPresent());
    relinkPending_ = false;
    const bool detect = countChanged || lost;
    // Another HID device came or went while our mouse stays where it was: keep the link and
    // every edit not yet applied, and only take note of the new count.
    if (detect && !transport_.MouseStillPresent()) {
        mouseLost();
        transport_.Reset();
        for (const image::DeviceIdentity& id : identities_) {
            if (isEmpty(id)) {
                // The window still sees which kind of mouse was lost; then it is none.
                window_.ShowNoDevicePage();
                kind_ = DeviceKind::None;
                continue;
            }
            // A mouse that has just arrived gets time to settle; one there at start does not.
            if (detectedOnce_) host_.sleep(kOpenDelayMs);
            if (transport_.OpenMouse(id.vendorId, id.productId)) {
                APCheckID_OnClick();
                break;
            }
        }
    } else if (rereadPending_ && !background_ && kind_ != DeviceKind::None &&
               transport_.MouseStillPresent()) {
        // The last read was incomplete: the editor does not hold what the mouse holds yet.
        // Where only macro blocks failed, only they are read again, behind the pages.
        if (!failedSlots_.empty() && known_ && known_->pagesWhole) {
            MacroRead again;
            again.read = known_->contents;
            again.pagesWhole = true;
            again.whole = known_->macroWhole;
            again.order = failedSlots_;
            readMacros(std::move(again));
        } else {
            Btn_Read();
        }
    }
    if (detect) {
        lastCount_ = current;
        detectedOnce_ = true;
    }
    if (!deviceOpen()) tellDeniedAccess();
    pollBusy_ = false;
}

void DeviceLink::mouseLost() {
    if (!deviceOpen() || kind_ == DeviceKind::None) return;
    // The macros that came are kept; the others count as failed.
    if (background_) finishMacroRead();
    // Names typed since the last write outlive the lists, which empty while the mouse is away.
    if (kind_ == DeviceKind::Macro) window_.UIToMacroName();
    if (failedWrite_) return;
    const image::DeviceIdentity identity{transport_.vendorId(), transport_.productId()};
    if (held_)
        lostMouse_ = LostMouse{identity, kind_, *held_, kAllMacros};
    else if (known_ && known_->pagesWhole)
        lostMouse_ = LostMouse{identity, kind_, known_->contents, known_->macroWhole};
}

void DeviceLink::giveUpIfGone() {
    if (!deviceOpen() || transport_.MouseStillPresent()) return;
    // Every further transfer on these handles would fail: Apply says there is no mouse until
    // the next tick finds it again.
    mouseLost();
    transport_.Reset();
    relinkPending_ = true;
}

void DeviceLink::tellDeniedAccess() {
    const bool denied = std::ranges::any_of(identities_, [this](const image::DeviceIdentity& id) {
        return !isEmpty(id) && transport_.MouseAccessDenied(id.vendorId, id.productId);
    });
    if (denied && !accessDeniedTold_) window_.ShowMessage(kAccessDeniedMessage);
    accessDeniedTold_ = denied;
}

void DeviceLink::APCheckID_OnClick() {
    if (!transport_.SendCommand(kCmdRegisterRead, 0x90, 0xE7, 0, 0) ||
        transport_.ReceiveData()[0] != kCheckValue) {
        refuseSilently();
        return;
    }
    if (!transport_.SendCommand(kCmdRegisterRead, 0x90, 0xE4, 0, 0)) {
        refuseSilently();
        return;
    }
    optionByte_ = transport_.ReceiveData()[0];
    ReadDevInfo();
}

void DeviceLink::CheckFlashType() {
    if (!transport_.SendCommand(kCmdRegisterRead, 0x00, 0x08, 0, 0)) return;
    const std::uint8_t value = transport_.ReceiveData()[0];
    if (value == kFlashClass32) flashClass_ = FlashClass::Class32;
    if (value == kFlashClass64) flashClass_ = FlashClass::Class64;
}

void DeviceLink::showRefusal(LinkWindow::StateLabels labels) {
    window_.ShowStateLabels(labels);
    transport_.Reset();
    window_.RefreshErrorAP();
}

void DeviceLink::ReadDevInfo() {
    if (!transport_.SendCommand(kCmdDeviceInfo, 0, 0, 0, 0)) {
        refuseSilently();
        return;
    }
    const Chunk info = transport_.ReceiveData();
    const std::uint8_t layout = info[3];
    const std::uint8_t deviceClass = info[5];
    if (layout == image::kLayout29 || layout == image::kLayout58) {
        deviceLayout_ = layout;
        const bool mismatch = (layout == image::kLayout29 && imageLayout_ == image::kLayout58) ||
                              (layout == image::kLayout58 && imageLayout_ == image::kLayout29);
        if (mismatch) {
            showRefusal(LinkWindow::StateLabels::TypeError);
            return;
        }
    }
    const int m = optionByte_ & 0x0C;
    if (deviceClass == 0x50) {
        if ((m == 4 || m == 12) && deviceLayout_ == image::kLayout29) {
            identified(DeviceKind::ImageOnly, Access::Short, 0x6053);
        } else if (m == 4 && deviceLayout_ == image::kLayout58) {
            identified(DeviceKind::ImageOnly, Access::Short, 0x6057);
        } else {
            refuseSilently();
        }
        return;
    }
    if (isMacroClass(deviceClass)) {
        CheckFlashType();
        if (flashClass_ == FlashClass::Class64 && (m == 0 || m == 8)) {
            // A macro device keeps its ModelId at the layout-58 place whatever its layout.
            identified(DeviceKind::Macro, Access::Long, 0x6057);
        } else {
            refuseSilently();
        }
        return;
    }
    refuseSilently();
}

void DeviceLink::identified(DeviceKind kind, Access access, std::uint16_t modelIdAddress) {
    std::array<std::uint8_t, 6> modelId{};
    // Identification reads run without the wait window.
    const int failedBefore = transport_.failedReports();
    const bool whole = transport_.ReadBlock(access, modelIdAddress, 6, modelId) &&
                       transport_.failedReports() == failedBefore;
    const bool matches = modelIdReference_ && modelId[0] == (*modelIdReference_)[0] &&
                         modelId[1] == (*modelIdReference_)[1];
    // A write cut short leaves the image sector erased; that is not another model.
    const bool erased = whole && modelId[0] == 0xFF && modelId[1] == 0xFF;
    const image::DeviceIdentity identity{transport_.vendorId(), transport_.productId()};
    bool otherMouse = false;
    if (failedWrite_ && failedWrite_->identity == identity && failedWrite_->kind == kind) {
        switch (sameAsFailedWrite(access)) {
            case TakeBack::Same:
                acceptUnread(kind, access, kTakenBackMessage);
                writeRefusal_ = {};
                return;
            case TakeBack::Unreadable:
                // Neither taken back nor read over the editor's data: a replug tries again.
                refuseSilently();
                return;
            case TakeBack::Other:
                failedWrite_.reset();
                lostMouse_.reset();
                otherMouse = true;
                break;
        }
    }
    if (!matches && erased) {
        acceptUnread(kind, access, kErasedMouseMessage);
        writeRefusal_ = kErasedMouseMessage;
        parameterBRead_ = userBreathRead_ = false;
        // Nothing was read of this mouse: a Reset has nothing of its own to keep.
        known_.reset();
        return;
    }
    if (!matches) {
        showRefusal(LinkWindow::StateLabels::IdError);
        return;
    }
    access_ = access;
    kind_ = kind;
    Btn_Read();
    // What the failed write did not put into the mouse is gone with it.
    if (otherMouse) window_.ShowMessage(kOtherMouseMessage);
}

DeviceLink::TakeBack DeviceLink::sameAsFailedWrite(Access access) {
    std::array<image::Byte, image::kImageSize> held;
    const int failedBefore = transport_.failedReports();
    if (!transport_.ReadBlock(access, kImageAddress, image::kImageSize, held) ||
        transport_.failedReports() != failedBefore)
        return TakeBack::Unreadable;
    return explainedByCutWrites(held, failedWrite_->images) ? TakeBack::Same : TakeBack::Other;
}

void DeviceLink::acceptUnread(DeviceKind kind, Access access, std::string_view message) {
    access_ = access;
    kind_ = kind;
    held_.reset();
    rereadPending_ = false;
    backupPending_ = false;
    lostMouse_.reset();
    window_.ShowStateLabels(LinkWindow::StateLabels::None);
    if (kind_ == DeviceKind::Macro) window_.RefreshMacroName();
    window_.ShowDevicePages();
    window_.ShowMessage(message);
}

std::optional<image::ProfileExpectation> DeviceLink::profileExpectation() const {
    if (!modelIdReference_) return std::nullopt;
    const bool known = deviceLayout_ == image::kLayout29 || deviceLayout_ == image::kLayout58;
    return image::ProfileExpectation{builtInIdentity_, *modelIdReference_,
                                     known ? deviceLayout_ : imageLayout_};
}

void DeviceLink::TakeFileContents() {
    writeRefusal_ = {};
    rereadPending_ = false;
    failedSlots_.clear();
    if (background_) background_->editorTaken = background_->fileTaken = true;
}

// ---- reading ----

void DeviceLink::beginOperation(bool closeMenus) {
    if (closeMenus) window_.HideAllMenu();
    window_.SetDevTimerEnabled(false);
    window_.LockWindow();
    pump();
}

void DeviceLink::showProgressOf(int reports) {
    // Short transfers are over before a bar could say anything.
    progress_ = {0, reports >= kProgressFrom ? reports : 0};
}

void DeviceLink::endOperation() {
    if (progress_.total > 0) window_.ShowTransferProgress(0, 0);
    progress_ = {};
    window_.HideWaitWindow();
    host_.processMessages();
    window_.SetDevTimerEnabled(true);
    window_.UnlockWindow();
}

bool DeviceLink::readComplete(Access access, std::uint16_t address, std::span<image::Byte> target) {
    const int failedBefore = transport_.failedReports();
    return transport_.ReadBlock(access, address, static_cast<std::uint16_t>(target.size()), target,
                                chunkPump_) &&
           transport_.failedReports() == failedBefore;
}

bool DeviceLink::writeComplete(Access access, std::uint16_t address,
                               std::span<const image::Byte> source) {
    const int failedBefore = transport_.failedReports();
    return transport_.WriteBlock(access, address, static_cast<std::uint16_t>(source.size()), source,
                                 chunkPump_) &&
           transport_.failedReports() == failedBefore;
}

// ---- writing ----

MouseContents DeviceLink::contentsToWrite(const image::DataBuf& buf) const {
    MouseContents out;
    out.buf = buf;
    out.parameterB = sectionCopy<5>(image_.sectionBuf, image::kParameterB);
    out.userBreath = sectionCopy<4>(image_.sectionBuf, image::kUserBreath);
    return out;
}

DeviceLink::WriteOutcome DeviceLink::writeContents(const WritePlan& plan) {
    std::size_t reports = 0;
    for (const WriteBlock& block : plan.blocks) reports += chunkCount(block.bytes.size());
    showProgressOf(static_cast<int>(2 * reports));  // written, then read back
    bool complete = true;
    for (const std::uint8_t sector : plan.erases)
        complete &= transport_.SendCommand(kCmdSectorErase, sector, 0, 0, 0);
    for (const WriteBlock& block : plan.blocks) {
        const bool written = writeComplete(block.access, block.address, block.bytes);
        // Without its image the mouse is not worth a reload.
        if (!written && block.address == kImageAddress) return WriteOutcome::Incomplete;
        complete &= written;
    }
    // A write that did not take would otherwise pass for success: read every block back.
    bool kept = true;
    if (complete) {
        const Verified verified = verify(plan);
        complete = verified != Verified::Unreadable;
        kept = verified == Verified::Same;
    }
    complete &= SystemReloadCmd_OnClick();
    if (!complete) return WriteOutcome::Incomplete;
    return kept ? WriteOutcome::Complete : WriteOutcome::NotKept;
}

DeviceLink::Verified DeviceLink::verify(const WritePlan& plan) {
    std::vector<image::Byte> back;
    for (const WriteBlock& block : plan.blocks) {
        back.assign(block.bytes.size(), 0);
        if (!readComplete(block.access, block.address, back)) return Verified::Unreadable;
        if (!std::ranges::equal(back, block.bytes)) return Verified::Differs;
    }
    return Verified::Same;
}

image::DataBuf DeviceLink::backupProfile(const MouseContents& contents) const {
    image::DataBuf profile = contents.buf;
    if (kind_ != DeviceKind::Macro) {
        profile.macroNames.fill(0xFF);
        for (auto& m : profile.macros) m.fill(0xFF);
        return profile;
    }
    const image::LayoutType layout = profile.image[1];
    std::ranges::copy(contents.parameterB,
                      profile.image.begin() + static_cast<std::ptrdiff_t>(image::dataBufOffset(
                                                  image::kParameterB, layout)));
    std::ranges::copy(contents.userBreath,
                      profile.image.begin() + static_cast<std::ptrdiff_t>(image::dataBufOffset(
                                                  image::kUserBreath, layout)));
    return profile;
}

void DeviceLink::backUpBeforeWriting() {
    backupPending_ = false;
    if (!known_) return;
    char stem[48];
    std::snprintf(stem, sizeof(stem), "%04x-%04x-%s%s", transport_.vendorId(),
                  transport_.productId(), kind_ == DeviceKind::Macro ? "macro" : "image",
                  known_->partial ? "-partial" : "");
    window_.BackUpMouse(backupProfile(known_->contents), stem);
}

bool DeviceLink::writeFinished(WriteOutcome outcome, const MouseContents& written) {
    // After a failed write the mouse holds at most what was meant, partly; that is also the
    // only copy of the edits a Reset would drop.
    known_ = KnownContents{written, outcome != WriteOutcome::Complete, false, {}};
    if (outcome == WriteOutcome::Complete) {
        held_ = written;
        failedWrite_.reset();
        writeRefusal_ = {};
        return true;
    }
    // The mouse may now hold erased or partly written sectors; the editor still holds
    // everything, and the next Apply writes it all again, also after a replug.
    const image::DeviceIdentity identity{transport_.vendorId(), transport_.productId()};
    if (held_ || !failedWrite_ || failedWrite_->identity != identity || failedWrite_->kind != kind_)
        failedWrite_ = FailedWrite{identity, kind_, {}};
    auto& images = failedWrite_->images;
    if (held_) images.push_back(held_->buf.image);
    if (std::ranges::find(images, written.buf.image) == images.end())
        images.push_back(written.buf.image);
    held_.reset();
    window_.ShowMessage(outcome == WriteOutcome::NotKept ? kWriteNotKeptMessage
                                                         : kIncompleteWriteMessage);
    giveUpIfGone();
    return false;
}

bool DeviceLink::DownloadParameter() {
    Busy busy(*this);
    CompleteRead();
    if (!mayWrite()) {
        // Never write over the mouse what did not come from it, a checked file or Reset. The
        // desktop's settings are not the mouse's: they are applied all the same.
        window_.ApplyMouseSystemParameters();
        window_.ShowMessage(writeRefusal_);
        return false;
    }
    beginOperation(true);
    image::ComposeDataBuf(image_, conversionContext(), window_);
    pump();
    window_.ApplyMouseSystemParameters();
    if (kind_ == DeviceKind::Macro) window_.UIToMacroName();
    // Once after each read; later writes only replace what the editor wrote itself.
    if (backupPending_) backUpBeforeWriting();
    const MouseContents intended = contentsToWrite(image_.dataBuf);
    // Only what changed, when what the mouse holds is known.
    const WriteOutcome outcome = writeContents(planWrite(intended, held_, kind_, access_));
    endOperation();
    return writeFinished(outcome, intended);
}

bool DeviceLink::SystemReloadCmd_OnClick() {
    if (!reportRateChanged_) return transport_.SendCommand(kCmdReload, 0, 0, 0, 0);
    bool sent = transport_.SendCommand(kCmdRateSwitch, 0x00, 0x01, 0x00, 0x00);
    sent &= transport_.SendCommand(kCmdReloadAfterRateSwitch, 0, 0, 0, 0);
    reportRateChanged_ = false;
    return sent;
}

void DeviceLink::pause() {
    for (int i = 0; i < 11; ++i) {
        host_.sleep(10);
        host_.processMessages();
    }
}

bool DeviceLink::pressedWithMouse(std::string_view button) {
    window_.ShowPressedPicture(button);
    pause();
    if (deviceOpen()) return true;
    window_.ShowMessage(kNoDeviceMessage);
    return false;
}

void DeviceLink::Btn_ApplyClick() {
    Busy busy(*this);
    if (pressedWithMouse("Btn_Apply")) DownloadParameter();
}

void DeviceLink::Btn_ConfirmClick() {
    Busy busy(*this);
    if (!pressedWithMouse("Btn_Confirm")) return;
    // The window stays open after a failed or refused write, so that Apply can write again.
    if (!DownloadParameter()) return;
    pause();
    window_.CloseMainWindow();
}

// ---- Reset ----

void DeviceLink::Btn_ResetClick() {
    Busy busy(*this);
    if (pressedWithMouse("Btn_Reset")) DefaultParameter();
}

bool DeviceLink::DefaultParameter() {
    Busy busy(*this);
    CompleteRead();
    beginOperation(true);
    // Reset replaces everything, the mouse's contents and the editor's: always keep a copy.
    backUpBeforeWriting();
    image::LoadBuiltInImage(defaultBuf_);
    image_.dataBuf.image = defaultBuf_.image;
    // The editor now holds the built-in image, which may be written, and not the mouse's
    // contents of an incomplete read, which a tick would otherwise read again over later edits.
    writeRefusal_ = {};
    rereadPending_ = false;
    failedSlots_.clear();
    image::clearKeyCodeTexts(image_.keyCodeTexts);
    if (kind_ == DeviceKind::Macro) {
        // Copies that were erased or could not be read get their defaults rather than 0xFF.
        const image::LayoutType layout = conversionContext().deviceLayout;
        for (const auto& [section, read] : {std::pair{image::kParameterB, parameterBRead_},
                                            std::pair{image::kUserBreath, userBreathRead_}}) {
            if (read) continue;
            const auto bytes = image::defaultSection(section, layout, builtInIdentity_);
            std::ranges::copy(bytes, image::sectionBytes(image_.sectionBuf, section).begin());
        }
    }
    pump();
    image::DataBufToUI(image_, conversionContext(), window_);
    if (kind_ == DeviceKind::Macro) {
        image_.dataBuf.macroNames = defaultBuf_.macroNames;
        image_.dataBuf.macros = defaultBuf_.macros;
        window_.ClearMacroEditor();
        window_.RefreshMacroName();
    }
    // The mouse receives the built-in image exactly as the resource holds it.
    const MouseContents intended = contentsToWrite(defaultBuf_);
    // Reset always writes everything.
    const WriteOutcome outcome = writeContents(planWrite(intended, std::nullopt, kind_, access_));
    endOperation();
    if (outcome == WriteOutcome::Complete) parameterBRead_ = userBreathRead_ = true;
    return writeFinished(outcome, intended);
}

}  // namespace device
