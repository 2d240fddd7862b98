// Reading the mouse: the pages' blocks under the wait window, then the macros, at once or in
// steps behind the shown pages.
#include "device/device_link.h"

#include <algorithm>

#include "image/sections.h"

namespace device {
namespace {

bool allErased(std::span<const image::Byte> bytes) {
    return std::ranges::all_of(bytes, [](image::Byte b) { return b == 0xFF; });
}

// Equal in what the pages show: the image, and on a macro mouse the section copies and names.
bool samePages(const MouseContents& a, const MouseContents& b, DeviceKind kind) {
    if (a.buf.image != b.buf.image) return false;
    if (kind != DeviceKind::Macro) return true;
    return a.buf.macroNames == b.buf.macroNames && a.parameterB == b.parameterB &&
           a.userBreath == b.userBreath;
}

// Equal in everything a read of this kind of mouse brings.
bool sameContents(const MouseContents& a, const MouseContents& b, DeviceKind kind) {
    return samePages(a, b, kind) && (kind != DeviceKind::Macro || a.buf.macros == b.buf.macros);
}

// Reports a step of the background read takes: about 16 ms on a real mouse, so the window
// answers between steps as it would between frames.
constexpr std::size_t kReportsPerStep = 16;
constexpr std::size_t kMacroReports = chunkCount(image::kMacroSize);
}  // namespace

void DeviceLink::Btn_Read() {
    Busy busy(*this);
    stopBackgroundRead();
    window_.SetDevTimerEnabled(false);
    window_.ShowStateLabels(LinkWindow::StateLabels::None);
    window_.LockWindow();
    pump();
    const bool macro = kind_ == DeviceKind::Macro;
    const std::size_t pageReports =
        chunkCount(image::kImageSize) +
        (macro ? chunkCount(image::kParameterB.length) + chunkCount(image::kUserBreath.length) +
                     chunkCount(image::kMacroNameAreaSize)
               : 0);
    const std::size_t macroReports =
        macro && !backgroundMacroRead_ ? image::kMacroCount * kMacroReports : 0;
    showProgressOf(static_cast<int>(pageReports + macroReports));
    // A read is complete only when every block command and every fetch succeeded. A block that
    // lost fetches still shows what came (0xFF for the rest), but never counts as what the
    // mouse holds. Everything comes into `r.read` first; the editor then takes over the blocks
    // that came whole. The pages' blocks come first, the macros after them.
    MacroRead r;
    const int failedBefore = transport_.failedReports();
    const bool imageRead = transport_.ReadBlock(access_, kImageAddress, image::kImageSize,
                                                r.read.buf.image, chunkPump_);
    const bool imageWhole = imageRead && transport_.failedReports() == failedBefore;
    bool namesWhole = false, parameterBWhole = false, userBreathWhole = false;
    if (imageRead && macro) {
        parameterBWhole = readComplete(Access::Long, kParameterBAddress, r.read.parameterB);
        userBreathWhole = readComplete(Access::Long, kUserBreathAddress, r.read.userBreath);
        // The labels of buttons that hold a macro come from the names.
        namesWhole = readComplete(Access::Long, kMacroNameAddress, r.read.buf.macroNames);
        // The copies are taken as they are; a Reset later needs to know whether they were
        // there at all.
        parameterBRead_ = parameterBWhole && !allErased(r.read.parameterB);
        userBreathRead_ = userBreathWhole && !allErased(r.read.userBreath);
    }
    r.pagesWhole = imageWhole && (!macro || (namesWhole && parameterBWhole && userBreathWhole));
    // A mouse back after an unplug: the editor keeps what it shows when the mouse holds what
    // it held, and also while a read cut short cannot tell yet.
    const image::DeviceIdentity identity{transport_.vendorId(), transport_.productId()};
    const bool returning = lostMouse_.has_value();
    const bool pagesAsTheyWere = returning && r.pagesWhole && lostMouse_->identity == identity &&
                                 lostMouse_->kind == kind_ &&
                                 samePages(r.read, lostMouse_->contents, kind_);
    const bool keepEditor = pagesAsTheyWere || (returning && !r.pagesWhole);
    // Whether the editor holds changes not applied yet: what Apply would write now, against
    // what was known of the mouse.
    bool edited = false;
    if (returning && r.pagesWhole) {
        image::ComposeDataBuf(image_, conversionContext(), window_);
        const MouseContents now = contentsToWrite(image_.dataBuf);
        MouseContents known = lostMouse_->contents;
        for (std::size_t i = 0; i < image::kMacroCount; ++i) {
            if (!lostMouse_->macroKnown[i]) known.buf.macros[i] = now.buf.macros[i];
        }
        edited = !sameContents(now, known, kind_);
    }
    std::string_view message;
    if (returning && r.pagesWhole) {
        if (pagesAsTheyWere) {
            // The macros decide once they are in.
            r.returning = true;
            r.edited = edited;
            for (std::size_t i = 0; i < image::kMacroCount; ++i) {
                if (lostMouse_->macroKnown[i]) r.known[i] = lostMouse_->contents.buf.macros[i];
            }
        } else if (edited) {
            message = kBackChangedMessage;
        }
        lostMouse_.reset();
    }
    r.editorTaken = returning && !r.pagesWhole;
    // DataBuf is all 0xFF when this read fails; the controls keep what they showed.
    if (!keepEditor) image_.dataBuf.image = r.read.buf.image;
    if (imageRead) {
        if (!keepEditor) {
            if (macro && namesWhole) image_.dataBuf.macroNames = r.read.buf.macroNames;
            if (macro && parameterBWhole)
                std::ranges::copy(
                    r.read.parameterB,
                    image::sectionBytes(image_.sectionBuf, image::kParameterB).begin());
            if (macro && userBreathWhole)
                std::ranges::copy(
                    r.read.userBreath,
                    image::sectionBytes(image_.sectionBuf, image::kUserBreath).begin());
        }
        if (macro) window_.RefreshMacroName();
        if (!keepEditor) {
            image::DataBufToUI(image_, conversionContext(), window_);
            window_.RefreshMouseSystemParameters();
        }
        window_.ShowDevicePages();
    }
    // The macros are read even after a failed page block: a Reset then still backs them up.
    if (macro && imageRead) {
        for (std::size_t i = 0; i < image::kMacroCount; ++i) r.order.push_back(i);
        const std::string_view told = readMacros(std::move(r));
        if (message.empty()) message = told;
    } else if (imageRead) {
        readEnded(r.read, r.pagesWhole && !macro, {}, r.pagesWhole);
    } else {
        // Nothing came that could be kept.
        known_.reset();
        held_.reset();
        writeRefusal_ = kIncompleteReadMessage;
        backupPending_ = false;
        rereadPending_ = true;
    }
    endOperation();
    if (!message.empty()) window_.ShowMessage(message);
    if (!background_ && !held_) giveUpIfGone();
}

void DeviceLink::readEnded(const MouseContents& read, bool complete,
                           const std::array<bool, image::kMacroCount>& macroWhole,
                           bool pagesWhole) {
    // What came, for the backup, with 0xFF where a block or a chunk of it failed.
    known_ = KnownContents{read, !complete, pagesWhole, macroWhole};
    if (complete) {
        held_ = read;
        writeRefusal_ = {};
    } else {
        held_.reset();
        writeRefusal_ = kIncompleteReadMessage;
    }
    // A partial read is worth a copy too.
    backupPending_ = true;
    rereadPending_ = !complete;
    failedSlots_.clear();
    if (!complete && pagesWhole && kind_ == DeviceKind::Macro) {
        for (std::size_t i = 0; i < image::kMacroCount; ++i) {
            if (!macroWhole[i]) failedSlots_.push_back(i);
        }
    }
}

std::string_view DeviceLink::readMacros(MacroRead read) {
    read.reportsTotal = static_cast<int>(read.order.size() * kMacroReports);
    background_ = std::move(read);
    // Until the last block is in, the editor does not know all the mouse holds.
    held_.reset();
    writeRefusal_ = kIncompleteReadMessage;
    rereadPending_ = false;
    failedSlots_.clear();
    if (!backgroundMacroRead_) {
        advanceMacroRead(SIZE_MAX, chunkPump_);
        return finishMacroRead();
    }
    known_ = KnownContents{background_->read, true, true, background_->whole};
    window_.ShowMacroReadProgress(0, background_->reportsTotal);
    // Steps do nothing while an operation runs (ReadStep); they start when it has ended.
    window_.SetReadStepsEnabled(true);
    return {};
}

bool DeviceLink::advanceMacroRead(std::size_t reports, const ChunkPump& pump) {
    MacroRead& r = *background_;
    while (r.next < r.order.size()) {
        const std::size_t slot = r.order[r.next];
        if (!r.blockStarted) {
            r.failedBefore = transport_.failedReports();
            const auto address = static_cast<std::uint16_t>(kMacroAddress + slot * kMacroStride);
            r.commandTaken = transport_.StartRead(Access::Long, address, image::kMacroSize,
                                                  r.read.buf.macros[slot], r.piece);
            r.blockStarted = true;
        }
        const std::size_t n = std::min(reports, r.piece.reportsLeft());
        transport_.ContinueRead(r.piece, n, pump);
        reports -= n;
        r.reportsDone += static_cast<int>(n);
        if (!r.piece.done()) break;
        r.whole[slot] = r.commandTaken && transport_.failedReports() == r.failedBefore;
        r.blockStarted = false;
        ++r.next;
        if (!r.commandTaken) r.reportsDone += static_cast<int>(kMacroReports);
        // A mouse that is gone fails every further block: they wait for its return.
        if (!r.whole[slot] && !transport_.MouseStillPresent()) r.next = r.order.size();
    }
    return r.next >= r.order.size();
}

std::string_view DeviceLink::finishMacroRead() {
    MacroRead r = std::move(*background_);
    background_.reset();
    window_.SetReadStepsEnabled(false);
    bool complete = r.pagesWhole;
    bool macrosChanged = false;
    for (std::size_t i = 0; i < image::kMacroCount; ++i) {
        complete &= r.whole[i];
        const bool readNow = std::ranges::find(r.order, i) != r.order.end();
        if (!readNow || !r.whole[i] || r.editorTaken) continue;
        // A macro the editor had from this mouse stays, with its changes, while the mouse
        // still holds it; anything else gives way to what the mouse holds.
        if (r.known[i] && *r.known[i] == r.read.buf.macros[i]) continue;
        if (r.known[i]) macrosChanged = true;
        image_.dataBuf.macros[i] = r.read.buf.macros[i];
    }
    readEnded(r.read, complete, r.whole, r.pagesWhole);
    if (r.fileTaken) {
        // A profile file filled the editor meanwhile: it may be written, and the mouse is not
        // read again over it.
        writeRefusal_ = {};
        rereadPending_ = false;
        failedSlots_.clear();
    }
    window_.ShowMacroReadProgress(0, 0);
    // Only changes the user made are worth a word.
    if (!r.returning || !complete || !r.edited) return {};
    return macrosChanged ? kMacrosChangedMessage : kBackAsItWasMessage;
}

void DeviceLink::stopBackgroundRead() {
    if (!background_) return;
    background_.reset();
    window_.SetReadStepsEnabled(false);
}

void DeviceLink::ReadStep() {
    // An operation that needs the macros finishes the read itself (CompleteRead).
    if (!background_ || busyDepth_ > 0) return;
    if (!advanceMacroRead(kReportsPerStep, {})) {
        window_.ShowMacroReadProgress(background_->reportsDone, background_->reportsTotal);
        return;
    }
    const std::string_view message = finishMacroRead();
    if (!message.empty()) window_.ShowMessage(message);
    if (!held_) giveUpIfGone();
}

void DeviceLink::CompleteRead() {
    if (!background_) return;
    Busy busy(*this);
    window_.SetReadStepsEnabled(false);
    beginOperation(false);
    showProgressOf(background_->reportsTotal - background_->reportsDone);
    advanceMacroRead(SIZE_MAX, chunkPump_);
    const std::string_view message = finishMacroRead();
    endOperation();
    if (!message.empty()) window_.ShowMessage(message);
    if (!held_) giveUpIfGone();
}

}  // namespace device
