#include "cli/mouse_session.h"

#include <algorithm>
#include <variant>

#include "image/builtin_image.h"
#include "image/conversion.h"
#include "image/profile_file.h"
#include "image/sections.h"
#include "skin/file_error_text.h"

namespace cli {
namespace {

const char* kindName(device::DeviceKind kind) {
    switch (kind) {
        case device::DeviceKind::Macro:
            return "macro mouse";
        case device::DeviceKind::ImageOnly:
            return "image-only mouse";
        case device::DeviceKind::None:
            break;
    }
    return "none";
}

const char* flashName(device::FlashClass flash) {
    switch (flash) {
        case device::FlashClass::Class32:
            return "32";
        case device::FlashClass::Class64:
            return "64";
        case device::FlashClass::None:
            break;
    }
    return "unknown";
}

}  // namespace

MouseSession::MouseSession(device::HidBackend& backend, std::FILE* progress, device::LinkHost* host,
                           std::optional<std::string> backupFolder)
    : transport_(backend),
      window_(progress, std::move(backupFolder)),
      link_(transport_, window_, host ? *host : window_, image_) {}

int MouseSession::fail(int code, std::string text) {
    error_ = std::move(text);
    return code;
}

std::string MouseSession::messagesSince(std::size_t from) const {
    std::string text;
    for (std::size_t i = from; i < window_.messages().size(); ++i)
        text += (text.empty() ? "" : " ") + window_.text(window_.messages()[i]);
    return text;
}

int MouseSession::connect() {
    // As the window starts: the built-in image is the reference identification takes.
    if (!image::LoadBuiltInImage(image_.dataBuf))
        return fail(kRefusedMouse, "the program's built-in parameter image is missing");
    link_.TakeStartupIdentity();
    image::DataBufToUI(image_, link_.conversionContext(), window_);
    link_.DevTimerTimer();
    if (window_.refusal() == device::LinkWindow::StateLabels::TypeError)
        return fail(kRefusedMouse, window_.text("Str102"));
    if (window_.refusal() == device::LinkWindow::StateLabels::IdError)
        return fail(kRefusedMouse, window_.text("Str103"));
    if (!link_.deviceOpen())
        return fail(kNoMouse, window_.text("Str100") + ". " + window_.text("Str101"));
    return kOk;
}

int MouseSession::info(std::FILE* out) {
    const auto modelId = image::sectionBytes(image_.sectionBuf, image::kModelId);
    std::fprintf(out, "device:      %s\n", transport_.devicePath().c_str());
    std::fprintf(out, "ids:         %04x:%04x\n", transport_.vendorId(), transport_.productId());
    std::fprintf(out, "kind:        %s\n", kindName(link_.deviceKind()));
    std::fprintf(out, "layout:      %d\n", link_.deviceLayout());
    std::fprintf(out, "flash class: %s\n", flashName(link_.flashClass()));
    std::fprintf(out, "option byte: 0x%02X\n", link_.optionByte());
    std::fprintf(out, "model id:    %02X %02X\n", modelId[0], modelId[1]);
    std::fprintf(out, "read:        %s\n",
                 link_.mouseContents() ? "complete" : "incomplete (see the messages)");
    for (const std::string& key : window_.messages())
        std::fprintf(out, "message:     %s\n", window_.text(key).c_str());
    return kOk;
}

int MouseSession::dump(const std::string& path) {
    const auto& contents = link_.mouseContents();
    if (!contents) return fail(kTransferFailed, messagesSince(0));
    if (const auto error = image::writeProfileFile(path, link_.backupProfile(*contents)))
        return fail(kBadFile, skin::fileErrorText(*error, path, true, window_.language()));
    return kOk;
}

int MouseSession::load(const std::string& path) {
    const auto expected = link_.profileExpectation();
    if (!expected) return fail(kRefusedMouse, window_.text("Str102"));
    auto read = image::readProfileFile(path, *expected);
    if (const auto* error = std::get_if<image::FileError>(&read))
        return fail(kBadFile, skin::fileErrorText(*error, path, false, window_.language()));
    // As Load Profile and Apply in the window: the file fills the editor, then all is written.
    const image::Byte rateBefore = image_.sectionBuf[image::kReportRateByte];
    image_.dataBuf = std::get<image::DataBuf>(read);
    if (link_.deviceKind() == device::DeviceKind::Macro)
        image::takeProfileDeviceSections(image_, link_.conversionContext());
    image::DataBufToUI(image_, link_.conversionContext(), window_);
    link_.TakeFileContents();
    link_.setReportRateChanged(image_.sectionBuf[image::kReportRateByte] != rateBefore);
    const std::size_t before = window_.messages().size();
    if (!link_.DownloadParameter()) return fail(kTransferFailed, messagesSince(before));
    return kOk;
}

int MouseSession::reset() {
    const std::size_t before = window_.messages().size();
    if (!link_.DefaultParameter()) return fail(kTransferFailed, messagesSince(before));
    return kOk;
}

}  // namespace cli
