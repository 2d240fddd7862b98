#include "cli/mouse_session.h"

#include <algorithm>
#include <variant>

#include "image/builtin_image.h"
#include "image/conversion.h"
#include "image/profile_file.h"
#include "image/raw_file.h"
#include "image/sections.h"
#include "macros/macro_file_check.h"
#include "macros/macro_model.h"
#include "settings/image_settings.h"
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

// The link's messages that tell a window user to press Apply, as a terminal user acts on them.
const std::pair<std::string_view, const char*> kTerminalTexts[] = {
    {device::kIncompleteWriteMessage,
     "The mouse was not written completely; its settings may be incomplete. Run the command "
     "again: it writes everything."},
    {device::kIncompleteReadMessage,
     "The mouse could not be read completely, so nothing was written. Run the command again "
     "while it stays connected."},
    {device::kTakenBackMessage,
     "The mouse's last write did not complete. Run the command again to write everything."},
    {device::kWriteNotKeptMessage,
     "The mouse did not keep what was written: reading it back gave other bytes. Run the "
     "command again to write everything."},
    {device::kBackAsItWasMessage, "The mouse was connected again. Run the command again."},
    {device::kErasedMouseMessage,
     "The mouse's settings are empty: it was left erased. Run quorvex-ctl reset, or load a "
     "profile."},
};

std::string json(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\u%04x", c);
            out += hex;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void printSettings(std::FILE* out, const std::vector<settings::Setting>& lines, bool asJson) {
    if (!asJson) {
        for (const auto& [name, value] : lines)
            std::fprintf(out, "%s = %s\n", name.c_str(), value.c_str());
        return;
    }
    std::string text = "{";
    for (const auto& [name, value] : lines)
        text += (text.size() > 1 ? ", " : "") + json(name) + ": " + json(value);
    std::fprintf(out, "%s}\n", text.c_str());
}

std::span<image::Byte> record(image::DataBuf& data, std::size_t slot) {
    return std::span<image::Byte>(data.macroNames)
        .subspan(slot * macros::kRecordSize, macros::kRecordSize);
}

}  // namespace

std::vector<std::string> OnePathBackend::interfacePaths() {
    const auto all = inner_.interfacePaths();
    if (std::find(all.begin(), all.end(), path_) == all.end()) return {};
    return {path_};
}

std::vector<std::string> findMice(device::HidBackend& backend) {
    image::DataBuf builtIn;
    std::vector<std::string> mice;
    if (!image::LoadBuiltInImage(builtIn)) return mice;
    const image::DeviceIdentity ids = image::identityOf(builtIn.image);
    for (const std::string& path : backend.interfacePaths()) {
        const device::HidHandle h = backend.open(path);
        if (h == device::kInvalidHandle) continue;
        const auto attrs = backend.attributes(h);
        const auto length = backend.featureReportLength(h);
        backend.close(h);
        if (attrs && length && *length == device::kReportLength &&
            attrs->vendorId == ids.vendorId && attrs->productId == ids.productId)
            mice.push_back(path);
    }
    return mice;
}

std::string MouseSession::kindName() const {
    return cli::kindName(link_.deviceKind());
}

MouseSession::MouseSession(device::HidBackend& backend, std::FILE* progress, device::LinkHost* host,
                           std::optional<std::string> backupFolder)
    : backend_(backend),
      transport_(backend),
      window_(progress, std::move(backupFolder)),
      link_(transport_, window_, host ? *host : window_, image_) {}

int MouseSession::fail(int code, std::string text) {
    error_ = std::move(text);
    return code;
}

std::string MouseSession::messagesSince(std::size_t from) const {
    std::string text;
    for (std::size_t i = from; i < window_.messages().size(); ++i) {
        const std::string& key = window_.messages()[i];
        std::string said = window_.text(key);
        for (const auto& [k, terminal] : kTerminalTexts) {
            if (k == key) said = terminal;
        }
        text += (text.empty() ? "" : " ") + said;
    }
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
    if (!link_.deviceOpen()) {
        // A mouse of the model that is listed but did not answer is not "no mouse".
        if (!findMice(backend_).empty()) {
            const std::string said = messagesSince(0);
            return fail(kUnreadable, "a mouse is connected but does not answer" +
                                         (said.empty() ? std::string(".") : ": " + said));
        }
        return fail(kNoMouse, window_.text("Str100") + ". " + window_.text("Str101"));
    }
    return kOk;
}

int MouseSession::info(std::FILE* out, bool asJson) {
    const auto modelId = image::sectionBytes(image_.sectionBuf, image::kModelId);
    if (asJson) {
        char ids[16], option[8], model[8];
        std::snprintf(ids, sizeof ids, "%04x:%04x", transport_.vendorId(), transport_.productId());
        std::snprintf(option, sizeof option, "0x%02X", link_.optionByte());
        std::snprintf(model, sizeof model, "%02X %02X", modelId[0], modelId[1]);
        std::string messages;
        for (const std::string& key : window_.messages())
            messages += (messages.empty() ? "" : ", ") + json(window_.text(key));
        std::fprintf(out,
                     "{\"device\": %s, \"ids\": \"%s\", \"kind\": %s, \"layout\": %d, "
                     "\"flash class\": \"%s\", \"option byte\": \"%s\", \"model id\": "
                     "\"%s\", \"read\": \"%s\", \"messages\": [%s]}\n",
                     json(transport_.devicePath()).c_str(), ids,
                     json(cli::kindName(link_.deviceKind())).c_str(), link_.deviceLayout(),
                     flashName(link_.flashClass()), option, model,
                     link_.mouseContents() ? "complete" : "incomplete", messages.c_str());
        return kOk;
    }
    std::fprintf(out, "device:      %s\n", transport_.devicePath().c_str());
    std::fprintf(out, "ids:         %04x:%04x\n", transport_.vendorId(), transport_.productId());
    std::fprintf(out, "kind:        %s\n", cli::kindName(link_.deviceKind()));
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

int MouseSession::needContents() {
    if (link_.mouseContents()) return kOk;
    const std::string said = messagesSince(0);
    return fail(kUnreadable, said.empty() ? "the mouse could not be read completely" : said);
}

int MouseSession::writeMouse() {
    const std::size_t before = window_.messages().size();
    if (!link_.DownloadParameter()) return fail(kTransferFailed, messagesSince(before));
    return kOk;
}

int MouseSession::get(std::FILE* out, const std::optional<std::string>& name, bool asJson) {
    if (const int code = needContents()) return code;
    auto lines = settings::readSettings(image_, dpiTexts());
    if (link_.deviceKind() == device::DeviceKind::Macro) {
        for (std::size_t slot = 0; slot < image::kMacroCount; ++slot) {
            const auto r = record(image_.dataBuf, slot);
            const std::uint16_t length = macros::dataLength(r);
            const std::string n = "macro" + std::to_string(slot + 1);
            lines.emplace_back(n + ".name", macros::recordName(r));
            lines.emplace_back(n + ".length", std::to_string(length == 0xFFFF ? 0 : length));
        }
    }
    if (name) {
        const auto found =
            std::find_if(lines.begin(), lines.end(),
                         [&](const settings::Setting& s) { return s.first == *name; });
        if (found == lines.end())
            return fail(kUsage, "unknown setting \"" + *name + "\" for this mouse; settings are " +
                                    settings::settingNamesText() +
                                    (link_.deviceKind() == device::DeviceKind::Macro
                                         ? ", macro1.name, macro1.length to macro32.length"
                                         : ""));
        lines = {*found};
    }
    printSettings(out, lines, asJson);
    return kOk;
}

int MouseSession::set(const std::vector<std::string>& assignments) {
    if (const int code = needContents()) return code;
    std::vector<settings::Setting> changes;
    for (const std::string& a : assignments) {
        const auto eq = a.find('=');
        if (eq == std::string::npos || eq == 0)
            return fail(kUsage, "\"" + a + "\" is not NAME=VALUE");
        changes.emplace_back(a.substr(0, eq), a.substr(eq + 1));
    }
    const auto change = settings::applySettings(image_, changes, dpiTexts(),
                                                link_.deviceKind() == device::DeviceKind::Macro);
    if (!change.error.empty()) return fail(kUsage, change.error + "; nothing was written");
    link_.setReportRateChanged(change.rateChanged);
    return writeMouse();
}

settings::DpiTexts MouseSession::dpiTexts() const {
    // The numbers the window shows with its first language table.
    settings::DpiTexts texts;
    for (std::size_t n = 0; n < 8; ++n)
        texts.levels[n] = window_.text("Str" + std::to_string(300 + n));
    for (std::size_t c = 0; c < 12; ++c)
        texts.codes[c] = window_.text("Str" + std::to_string(320 + c));
    return texts;
}

int MouseSession::macroSlot(int slot) {
    if (slot < 1 || slot > static_cast<int>(image::kMacroCount))
        return fail(kUsage, "macro slots are 1 to 32, not " + std::to_string(slot));
    if (link_.deviceKind() != device::DeviceKind::Macro)
        return fail(kRefusedMouse, "this mouse keeps no macros");
    return needContents();
}

int MouseSession::macroExport(int slot, const std::string& path) {
    if (const int code = macroSlot(slot)) return code;
    const auto s = static_cast<std::size_t>(slot - 1);
    // The name as typed, as dump writes it: a terminal has no question to ask before an added
    // extension would replace another file.
    if (const auto error =
            image::writeRawFile(path, {record(image_.dataBuf, s), image_.dataBuf.macros[s]}))
        return fail(kBadFile, skin::fileErrorText(*error, path, true, window_.language()));
    return kOk;
}

int MouseSession::macroImport(int slot, const std::string& path) {
    if (const int code = macroSlot(slot)) return code;
    auto read = image::readRawFile(path, macros::kRecordSize + macros::kBlockSize);
    if (const auto* error = std::get_if<image::FileError>(&read))
        return fail(kBadFile, skin::fileErrorText(*error, path, false, window_.language()));
    const auto& bytes = std::get<std::vector<image::Byte>>(read);
    const std::span<const image::Byte> all(bytes);
    if (const auto damage =
            macros::checkMacro(all.subspan(0, macros::kRecordSize),
                               all.subspan(macros::kRecordSize, macros::kBlockSize))) {
        using Kind = macros::MacroDamage::Kind;
        const char* reason = damage->kind == Kind::DataLength   ? "Str052"
                             : damage->kind == Kind::NameLength ? "Str053"
                             : damage->kind == Kind::NameText   ? "Str054"
                                                                : "Str055";
        std::string why = window_.text(reason);
        if (const auto at = why.find("%1"); at != std::string::npos)
            why.replace(at, 2, std::to_string(damage->value));
        return fail(kBadFile, window_.text("Str029") + " \"" + path + "\". " +
                                  window_.text("Str056") + " " + why + " " +
                                  window_.text("Str058"));
    }
    const auto s = static_cast<std::size_t>(slot - 1);
    image::copyFrom(bytes, 0, record(image_.dataBuf, s));
    image::copyFrom(bytes, macros::kRecordSize, image_.dataBuf.macros[s]);
    return writeMouse();
}

int MouseSession::macroClear(int slot) {
    if (const int code = macroSlot(slot)) return code;
    // As the window's Clear: no events, the name kept.
    const auto s = static_cast<std::size_t>(slot - 1);
    macros::setDataLength(record(image_.dataBuf, s), 0);
    image_.dataBuf.macros[s].fill(0xFF);
    return writeMouse();
}

}  // namespace cli
