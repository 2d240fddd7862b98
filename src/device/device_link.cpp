#include "device/device_link.h"

#include <algorithm>

#include "image/builtin_image.h"
#include "image/key_code_texts.h"
#include "image/sections.h"

namespace device {
namespace {

constexpr int kPollPairs = 5;
constexpr int kStablePairsNeeded = 2;
constexpr int kOpenDelayMs = 2000;
constexpr std::uint8_t kCheckValue = 0xAF;
constexpr std::uint8_t kFlashClass32 = 0x9D;
constexpr std::uint8_t kFlashClass64 = 0xC8;
constexpr std::size_t kBlock = 256;

bool isEmpty(const image::DeviceIdentity& id) {
    return id.vendorId == 0 || id.productId == 0;
}

bool isMacroClass(std::uint8_t c) {
    return c == 0xA0 || c == 0xA5 || c == 0xAA;
}

}  // namespace

DeviceLink::DeviceLink(HidTransport& transport, LinkWindow& window, LinkHost& host,
                       image::EditorImage& image)
    : transport_(transport), window_(window), host_(host), image_(image) {
    chunkPump_ = [this] { pump(); };
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
    pollBusy_ = true;
    int current = 0;
    int stablePairs = 0;
    for (int pair = 0; pair < kPollPairs; ++pair) {
        const int first = transport_.CountHidDevices();
        const int second = transport_.CountHidDevices();
        if (first == second) ++stablePairs;
        current = first;
    }
    if (current != lastCount_ && stablePairs >= kStablePairsNeeded) {
        // Another HID device came or went while our mouse stays where it was: keep the link and
        // every edit not yet applied, and only take note of the new count.
        if (!transport_.MouseStillPresent()) {
            transport_.Reset();
            for (const image::DeviceIdentity& id : identities_) {
                if (isEmpty(id)) {
                    // The window still sees which kind of mouse was lost; then it is none.
                    window_.ShowNoDevicePage();
                    kind_ = DeviceKind::None;
                    continue;
                }
                host_.sleep(kOpenDelayMs);
                if (transport_.OpenMouse(id.vendorId, id.productId)) {
                    APCheckID_OnClick();
                    break;
                }
            }
        }
        lastCount_ = current;
    }
    pollBusy_ = false;
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
    transport_.ReadBlock(access, modelIdAddress, 6, modelId);
    if (!modelIdReference_ || modelId[0] != (*modelIdReference_)[0] ||
        modelId[1] != (*modelIdReference_)[1]) {
        showRefusal(LinkWindow::StateLabels::IdError);
        return;
    }
    access_ = access;
    kind_ = kind;
    Btn_Read();
}

// ---- reading ----

void DeviceLink::beginOperation(bool closeMenus) {
    if (closeMenus) window_.HideAllMenu();
    window_.SetDevTimerEnabled(false);
    window_.LockWindow();
    pump();
}

void DeviceLink::endOperation() {
    window_.HideWaitWindow();
    host_.processMessages();
    window_.SetDevTimerEnabled(true);
    window_.UnlockWindow();
}

void DeviceLink::Btn_Read() {
    window_.SetDevTimerEnabled(false);
    window_.ShowStateLabels(LinkWindow::StateLabels::None);
    window_.LockWindow();
    pump();
    // DataBuf is all 0xFF when this read fails; the controls keep what they showed.
    if (transport_.ReadBlock(access_, kImageAddress, image::kImageSize, image_.dataBuf.image,
                             chunkPump_)) {
        if (kind_ == DeviceKind::Macro) {
            image::Macro scratch;
            for (std::size_t i = 0; i < image::kMacroCount; ++i) {
                const auto address = static_cast<std::uint16_t>(kMacroAddress + i * kMacroStride);
                if (transport_.ReadBlock(Access::Long, address, image::kMacroSize, scratch,
                                         chunkPump_)) {
                    image_.dataBuf.macros[i] = scratch;
                }
            }
            std::array<image::Byte, image::kMacroNameAreaSize> names;
            if (transport_.ReadBlock(Access::Long, kMacroNameAddress, image::kMacroNameAreaSize,
                                     names, chunkPump_)) {
                image_.dataBuf.macroNames = names;
            }
            const auto readSection = [&](std::uint16_t address, const image::Section& section) {
                std::array<image::Byte, 8> buffer;
                const auto target = std::span(buffer).first(section.length);
                if (transport_.ReadBlock(Access::Long, address,
                                         static_cast<std::uint16_t>(section.length), target,
                                         chunkPump_)) {
                    std::ranges::copy(target,
                                      image::sectionBytes(image_.sectionBuf, section).begin());
                }
            };
            readSection(kParameterBAddress, image::kParameterB);
            readSection(kUserBreathAddress, image::kUserBreath);
            window_.RefreshMacroName();
        }
        image::DataBufToUI(image_, conversionContext(), window_);
        window_.RefreshMouseSystemParameters();
        window_.ShowDevicePages();
    }
    endOperation();
}

// ---- writing ----

bool DeviceLink::writeEverything(const std::array<image::Byte, image::kImageSize>& imageBytes,
                                 const image::DataBuf& macroSource) {
    if (!transport_.WriteBlock(access_, kImageAddress, image::kImageSize, imageBytes, chunkPump_)) {
        return false;
    }
    bool complete = true;
    if (kind_ == DeviceKind::Macro) {
        const auto writePieces = [&](std::uint16_t address, std::span<const image::Byte> bytes) {
            for (std::size_t k = 0; k * kBlock < bytes.size(); ++k) {
                complete &= transport_.WriteBlock(
                    Access::Long, static_cast<std::uint16_t>(address + k * kBlock), kBlock,
                    bytes.subspan(k * kBlock, kBlock), chunkPump_);
            }
        };
        writePieces(kMacroNameAddress, macroSource.macroNames);
        for (std::size_t i = 0; i < image::kMacroCount; ++i) {
            writePieces(static_cast<std::uint16_t>(kMacroAddress + i * kMacroStride),
                        macroSource.macros[i]);
        }
        const auto writeSection = [&](std::uint16_t address, const image::Section& section) {
            complete &= transport_.WriteBlock(
                Access::Long, address, static_cast<std::uint16_t>(section.length),
                image::sectionBytes(image_.sectionBuf, section), chunkPump_);
        };
        writeSection(kParameterBAddress, image::kParameterB);
        writeSection(kUserBreathAddress, image::kUserBreath);
    }
    SystemReloadCmd_OnClick();
    return complete;
}

void DeviceLink::DownloadParameter() {
    beginOperation(true);
    image::ComposeDataBuf(image_, conversionContext(), window_);
    pump();
    window_.ApplyMouseSystemParameters();
    if (kind_ == DeviceKind::Macro) {
        window_.UIToMacroName();
        for (int sector = 0x60; sector <= 0xF0; sector += 0x10) {
            transport_.SendCommand(kCmdSectorErase, static_cast<std::uint8_t>(sector), 0, 0, 0);
        }
    }
    const bool complete = writeEverything(image_.dataBuf.image, image_.dataBuf);
    endOperation();
    // The mouse may now hold erased or partly written sectors; the editor still holds
    // everything, and the next Apply writes it all again.
    if (!complete) window_.ShowMessage(kIncompleteWriteMessage);
}

void DeviceLink::SystemReloadCmd_OnClick() {
    if (!reportRateChanged_) {
        transport_.SendCommand(kCmdReload, 0, 0, 0, 0);
        return;
    }
    transport_.SendCommand(kCmdRateSwitch, 0x00, 0x01, 0x00, 0x00);
    transport_.SendCommand(kCmdReloadAfterRateSwitch, 0, 0, 0, 0);
    reportRateChanged_ = false;
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
    if (pressedWithMouse("Btn_Apply")) DownloadParameter();
}

void DeviceLink::Btn_ConfirmClick() {
    if (!pressedWithMouse("Btn_Confirm")) return;
    DownloadParameter();
    pause();
    window_.CloseMainWindow();
}

// ---- Reset ----

void DeviceLink::Btn_ResetClick() {
    if (pressedWithMouse("Btn_Reset")) DefaultParameter();
}

void DeviceLink::DefaultParameter() {
    beginOperation(true);
    image::LoadBuiltInImage(defaultBuf_);
    image_.dataBuf.image = defaultBuf_.image;
    image::clearKeyCodeTexts(image_.keyCodeTexts);
    pump();
    image::DataBufToUI(image_, conversionContext(), window_);
    if (kind_ == DeviceKind::Macro) {
        image_.dataBuf.macroNames = defaultBuf_.macroNames;
        image_.dataBuf.macros = defaultBuf_.macros;
        window_.ClearMacroEditor();
        window_.RefreshMacroName();
        for (int sector = 0x60; sector <= 0xF0; sector += 0x10) {
            transport_.SendCommand(kCmdSectorErase, static_cast<std::uint8_t>(sector), 0, 0, 0);
        }
    }
    // The mouse receives the built-in image exactly as the resource holds it.
    const bool complete = writeEverything(defaultBuf_.image, defaultBuf_);
    endOperation();
    if (!complete) window_.ShowMessage(kIncompleteWriteMessage);
}

}  // namespace device
