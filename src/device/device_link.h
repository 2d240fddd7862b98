#pragma once
// Presence polling, identification, reading, writing, reloading and Reset of the mouse.
#include <array>
#include <cstdint>
#include <optional>

#include "device/hid_transport.h"
#include "device/link_window.h"
#include "image/image_types.h"

namespace device {

enum class DeviceKind { None, ImageOnly, Macro };
enum class FlashClass { None, Class32, Class64 };

// Device addresses of the regions the link transfers.
inline constexpr std::uint16_t kImageAddress = 0x6000;
inline constexpr std::uint16_t kMacroNameAddress = 0x6400;
inline constexpr std::uint16_t kParameterBAddress = 0x7000;
inline constexpr std::uint16_t kUserBreathAddress = 0x7005;
inline constexpr std::uint16_t kMacroAddress = 0x8000;
inline constexpr std::uint16_t kMacroStride = 0x400;

// New message keys of the link.
inline constexpr std::string_view kNoDeviceMessage = "Str022";
inline constexpr std::string_view kIncompleteWriteMessage = "Str023";

class DeviceLink {
  public:
    DeviceLink(HidTransport& transport, LinkWindow& window, LinkHost& host,
               image::EditorImage& image);

    // Start-up: takes identity, layout and ModelId reference from the built-in image now in
    // DataBuf. The identity becomes entry 1 of the identity table.
    void TakeStartupIdentity();

    // The 3500 ms tick.
    void DevTimerTimer();

    void Btn_ApplyClick();
    void Btn_ConfirmClick();
    void Btn_ResetClick();

    // The operations behind them; public so that the window and tests can run them directly.
    void APCheckID_OnClick();
    void ReadDevInfo();
    void CheckFlashType();
    void Btn_Read();
    void DownloadParameter();
    void DefaultParameter();
    void SystemReloadCmd_OnClick();

    // Gives the mouse up (closing the window, error states).
    void reset() { transport_.Reset(); }

    bool deviceOpen() const { return transport_.handlesValid(); }
    DeviceKind deviceKind() const { return kind_; }
    void clearDeviceKind() { kind_ = DeviceKind::None; }
    FlashClass flashClass() const { return flashClass_; }
    image::LayoutType deviceLayout() const { return deviceLayout_; }
    image::LayoutType imageLayout() const { return imageLayout_; }
    std::uint8_t optionByte() const { return optionByte_; }
    // Set by the window's UIToDataBuf when the chosen report rate differs from the one shown.
    void setReportRateChanged(bool changed) { reportRateChanged_ = changed; }
    bool reportRateChanged() const { return reportRateChanged_; }
    int lastInterfaceCount() const { return lastCount_; }

    // The context of every image conversion: image layout, device layout, device kind.
    image::ConversionContext conversionContext() const;

  private:
    void refuseSilently() { transport_.Reset(); }
    void showRefusal(LinkWindow::StateLabels labels);
    void identified(DeviceKind kind, Access access, std::uint16_t modelIdAddress);
    // Shows the wait window and runs the queue: before every chunk and between phases.
    void pump();
    void beginOperation(bool closeMenus);
    void endOperation();
    // Writes the image (the caller's bytes), and on a macro device everything else.
    // False when any block could not be written.
    bool writeEverything(const std::array<image::Byte, image::kImageSize>& imageBytes,
                         const image::DataBuf& macroSource);
    // The pause of about 110 ms after a button press, with the queue running.
    void pause();
    // Shows the pressed picture and pauses; false (after the Str022 box) without a mouse.
    bool pressedWithMouse(std::string_view button);

    HidTransport& transport_;
    LinkWindow& window_;
    LinkHost& host_;
    image::EditorImage& image_;
    ChunkPump chunkPump_;

    std::array<image::DeviceIdentity, 2> identities_{};  // entry 2 stays empty
    image::DeviceIdentity builtInIdentity_;
    image::LayoutType imageLayout_ = image::kLayoutNone;
    std::optional<std::array<image::Byte, 2>> modelIdReference_;

    int lastCount_ = 0;
    bool pollBusy_ = false;
    std::uint8_t optionByte_ = 0;
    FlashClass flashClass_ = FlashClass::None;
    image::LayoutType deviceLayout_ = image::kLayoutNone;
    DeviceKind kind_ = DeviceKind::None;
    Access access_ = Access::Long;
    bool reportRateChanged_ = false;
    image::DefaultBuf defaultBuf_;
};

}  // namespace device
