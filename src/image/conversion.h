#pragma once
// The two conversions between DataBuf and SectionBuf. Both are frames: the other subsystems
// contribute their shares through ConversionHooks at fixed points of the order.
#include "image/image_types.h"
#include "image/section_checks.h"

namespace image {

class ConversionHooks {
  public:
    virtual ~ConversionHooks() = default;
    // Shows SectionBuf and the key code texts in every control.
    virtual void RefreshUI() {}
    // Writes the controls' DPI, report-rate, current-profile and light fields into SectionBuf.
    virtual void UIToDataBuf() {}
    // Writes the fire-key controls into the FireKey section.
    virtual void FireKeyModeToDataBuf() {}
    // Brings the fire-key functions in the Profile codes up to date with the fire-key modes.
    virtual void FireKeyAndFireKeyModeToDataBuf() {}
};

struct ConversionContext {
    // LayoutType of the built-in image, taken at start-up; decomposition follows it.
    LayoutType imageLayout = kLayoutNone;
    // Layout the connected mouse reported; composition and the section defaults follow it.
    LayoutType deviceLayout = kLayoutNone;
    // A macro device keeps ParameterB and UserBreath in regions of their own, read directly
    // into SectionBuf, so decomposition leaves them alone.
    bool macroDevice = false;
    DeviceIdentity builtInIdentity;

    CheckContext checks() const { return {deviceLayout, builtInIdentity}; }
};

// DataBuf -> SectionBuf (with the section checks) -> key code texts -> controls.
void DataBufToUI(EditorImage& img, const ConversionContext& ctx, ConversionHooks& hooks);

// Controls and SectionBuf -> DataBuf in the device layout, every check byte renewed except
// those of UserBreath and EFTControl, which keep what they arrived with.
void ComposeDataBuf(EditorImage& img, const ConversionContext& ctx, ConversionHooks& hooks);

// A loaded profile's ParameterB and UserBreath into SectionBuf. Decomposition leaves them alone
// on a macro device (the mouse keeps its own copies), but a profile carries the user's DPI
// level, rate, profile and light: they come from the file, each replaced by its default when
// its check byte fails, like any damaged section.
void takeProfileDeviceSections(EditorImage& img, const ConversionContext& ctx);

}  // namespace image
