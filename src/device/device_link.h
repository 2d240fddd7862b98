#pragma once
// Presence polling, identification, reading, writing, reloading and Reset of the mouse.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "device/hid_transport.h"
#include "device/link_window.h"
#include "device/write_plan.h"
#include "image/image_types.h"
#include "image/profile_file.h"

namespace device {

enum class FlashClass { None, Class32, Class64 };

// New message keys of the link.
inline constexpr std::string_view kNoDeviceMessage = "Str022";
inline constexpr std::string_view kIncompleteWriteMessage = "Str023";
inline constexpr std::string_view kIncompleteReadMessage = "Str026";
inline constexpr std::string_view kTakenBackMessage = "Str027";
inline constexpr std::string_view kErasedMouseMessage = "Str028";
inline constexpr std::string_view kAccessDeniedMessage = "Str041";
inline constexpr std::string_view kWriteNotKeptMessage = "Str043";
inline constexpr std::string_view kBackAsItWasMessage = "Str044";
inline constexpr std::string_view kBackChangedMessage = "Str045";
inline constexpr std::string_view kOtherMouseMessage = "Str046";
inline constexpr std::string_view kMacrosChangedMessage = "Str047";

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
    // False when nothing or not everything was written.
    bool DownloadParameter();
    bool DefaultParameter();
    bool SystemReloadCmd_OnClick();

    // Gives the mouse up (closing the window, error states).
    void reset() {
        stopBackgroundRead();
        transport_.Reset();
    }

    // A macro mouse's macros are read after its pages are shown, in steps the window's
    // timer runs (LinkWindow::SetReadStepsEnabled); otherwise every read is read whole.
    void setBackgroundMacroRead(bool on) { backgroundMacroRead_ = on; }
    bool readingInBackground() const { return background_.has_value(); }
    // One step of the background read: a few reports, then back to the window.
    void ReadStep();
    // Finishes a background read under the wait window, for what must not start before the
    // read is complete (writes, backups, profile saves, macro exports, closing).
    void CompleteRead();

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

    // A poll, a read, a write or a button's pause is running; the window holds a close request
    // until it ends (LinkWindow::DeviceIdle).
    bool busy() const { return busyDepth_ > 0; }
    // What the mouse holds: known after a complete read or a complete write, unknown otherwise.
    const std::optional<MouseContents>& mouseContents() const { return held_; }
    // Apply and Confirm may write what the editor holds: it came from a complete read, from a
    // file that passed its checks, or it is the rewrite of a mouse whose write failed.
    bool mayWrite() const { return writeRefusal_.empty(); }
    // A profile file that passed its checks now fills the editor: it may be written, and the
    // mouse is not read again over it.
    void TakeFileContents();
    // What a profile file must carry to be loaded; nothing before the built-in image is known.
    std::optional<image::ProfileExpectation> profileExpectation() const;
    // The profile file that stands for what the mouse holds: the image with its ParameterB and
    // UserBreath copies at their places, then names and macros (0xFF on an image-only device).
    image::DataBuf backupProfile(const MouseContents& contents) const;

    // The context of every image conversion: image layout, device layout, device kind.
    image::ConversionContext conversionContext() const;

  private:
    // Counts a running operation; the last one to end tells the window.
    class Busy {
      public:
        explicit Busy(DeviceLink& link) : link_(link) { ++link_.busyDepth_; }
        ~Busy() {
            if (--link_.busyDepth_ == 0) link_.window_.DeviceIdle();
        }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

      private:
        DeviceLink& link_;
    };
    // A mouse whose write failed in this run: when it comes back holding what a cut write
    // leaves, it is taken back for the rewrite instead of being read.
    struct FailedWrite {
        image::DeviceIdentity identity;
        DeviceKind kind;
        // The images it may hold pieces of: what it held when last known, then what every
        // failed write since meant to put there.
        std::vector<std::array<image::Byte, image::kImageSize>> images;
    };
    // A mouse that went away while the editor knew what it held: when it comes back with the
    // same bytes, the editor keeps what it shows.
    struct LostMouse {
        image::DeviceIdentity identity;
        DeviceKind kind;
        MouseContents contents;
        // The macro slots whose blocks were known (all, after a complete read).
        std::array<bool, image::kMacroCount> macroKnown{};
    };
    // A read whose pages are shown and whose macros are still coming.
    struct MacroRead {
        MouseContents read;       // what came so far, 0xFF where nothing came (yet)
        bool pagesWhole = false;  // image, section copies and names came whole
        std::array<bool, image::kMacroCount> whole{};
        std::vector<std::size_t> order;  // the slots to read, in this order
        std::size_t next = 0;            // of `order`
        PieceRead piece;
        bool blockStarted = false, commandTaken = false;
        int failedBefore = 0;
        // The editor's macro of a slot stays when the mouse holds what was known of it before
        // (a returning mouse); without a known block the mouse's replaces it.
        std::array<std::optional<image::Macro>, image::kMacroCount> known;
        // The editor keeps its macros: the blocks only tell what the mouse holds. So for a
        // returning mouse whose pages could not be compared, and after a profile file filled
        // the editor meanwhile (`fileTaken`: then it may be written without a re-read).
        bool editorTaken = false, fileTaken = false;
        bool returning = false, edited = false;
        int reportsDone = 0, reportsTotal = 0;
    };

    void refuseSilently() { transport_.Reset(); }
    // Starts reading the macros of `read` behind the shown pages, or reads them now and
    // returns what a returning mouse's user is to be told, if anything.
    std::string_view readMacros(MacroRead read);
    // Reads up to `reports` more reports of the macro read; true when it has ended.
    bool advanceMacroRead(std::size_t reports, const ChunkPump& pump);
    // Takes the macros that came and ends the read: complete or not, backup. Returns what
    // a returning mouse's user is to be told, if anything.
    std::string_view finishMacroRead();
    void stopBackgroundRead();
    // What a read must always do once its image came: complete or not, backup, re-read.
    void readEnded(const MouseContents& read, bool complete,
                   const std::array<bool, image::kMacroCount>& macroWhole, bool pagesWhole);
    // The mouse is not there on the link's handles any more; the editor notes what it held.
    void mouseLost();
    // After a failed transfer: a mouse that is gone is given up, and the next tick looks again.
    void giveUpIfGone();
    enum class TakeBack { Same, Other, Unreadable };
    // Whether the mouse whose write failed is the one now identified, by its image.
    TakeBack sameAsFailedWrite(Access access);
    // A mouse this user may not open counts as no device at all; tells why, once per plug.
    void tellDeniedAccess();
    void showRefusal(LinkWindow::StateLabels labels);
    void identified(DeviceKind kind, Access access, std::uint16_t modelIdAddress);
    // Accepts the identified mouse without reading it, with the pages of what the editor holds.
    void acceptUnread(DeviceKind kind, Access access, std::string_view message);
    // Shows the wait window and runs the queue: before every chunk and between phases.
    void pump();
    void beginOperation(bool closeMenus);
    // The reports the coming transfer takes, for the wait window's progress.
    void showProgressOf(int reports);
    void endOperation();
    // A block read or write that succeeded with every one of its reports.
    bool readComplete(Access access, std::uint16_t address, std::span<image::Byte> target);
    bool writeComplete(Access access, std::uint16_t address, std::span<const image::Byte> source);
    enum class WriteOutcome { Complete, Incomplete, NotKept };
    // Erases and writes what the plan says, reads it back, and reloads.
    WriteOutcome writeContents(const WritePlan& plan);
    // Whether every block of the plan reads back as it was written.
    enum class Verified { Same, Differs, Unreadable };
    Verified verify(const WritePlan& plan);
    // Saves what the editor knows the mouse holds, marked partial when it is not all of it.
    void backUpBeforeWriting();
    // Remembers the outcome of a write and tells the user of a failure.
    bool writeFinished(WriteOutcome outcome, const MouseContents& written);
    // ParameterB and UserBreath of SectionBuf, as a write sends them.
    MouseContents contentsToWrite(const image::DataBuf& buf) const;
    // The pause of about 110 ms after a button press, with the queue running.
    void pause();
    // Shows the pressed picture and pauses; false (after the Str022 box) without a mouse.
    bool pressedWithMouse(std::string_view button);

    HidTransport& transport_;
    LinkWindow& window_;
    LinkHost& host_;
    image::EditorImage& image_;
    ChunkPump chunkPump_;
    // Transfers of this many reports or more (about a second on a real mouse) show progress.
    static constexpr int kProgressFrom = 500;
    struct Progress {
        int done = 0;
        int total = 0;
    } progress_;

    std::array<image::DeviceIdentity, 2> identities_{};  // entry 2 stays empty
    image::DeviceIdentity builtInIdentity_;
    image::LayoutType imageLayout_ = image::kLayoutNone;
    std::optional<std::array<image::Byte, 2>> modelIdReference_;

    int lastCount_ = 0;
    bool detectedOnce_ = false;
    bool pollBusy_ = false;
    std::uint8_t optionByte_ = 0;
    FlashClass flashClass_ = FlashClass::None;
    image::LayoutType deviceLayout_ = image::kLayoutNone;
    DeviceKind kind_ = DeviceKind::None;
    Access access_ = Access::Long;
    bool reportRateChanged_ = false;
    image::DefaultBuf defaultBuf_;

    int busyDepth_ = 0;
    std::optional<MouseContents> held_;
    // Why Apply and Confirm write nothing now (a message key); empty when they may write.
    std::string_view writeRefusal_ = kIncompleteReadMessage;
    // The last read was incomplete: the next tick reads the mouse again.
    bool rereadPending_ = false;
    // The user was told that the mouse is there but may not be opened (until it goes).
    bool accessDeniedTold_ = false;
    // What the editor knows the mouse holds, for the backups: a complete read or write, or
    // partly: the blocks of an incomplete read as they came (0xFF where they failed), or what a
    // failed write meant to put there.
    struct KnownContents {
        MouseContents contents;
        bool partial = false;
        // Of a read: the pages' blocks came whole, and which macro blocks did.
        bool pagesWhole = false;
        std::array<bool, image::kMacroCount> macroWhole{};
    };
    std::optional<KnownContents> known_;
    // A read has not been backed up yet.
    bool backupPending_ = false;
    // The section copies at 0x7000 and 0x7005 were read whole and not erased.
    bool parameterBRead_ = false;
    bool userBreathRead_ = false;
    std::optional<FailedWrite> failedWrite_;
    std::optional<LostMouse> lostMouse_;
    // A transfer found the mouse gone: the next tick detects whatever the count says.
    bool relinkPending_ = false;
    bool backgroundMacroRead_ = false;
    std::optional<MacroRead> background_;
    // Macro slots whose blocks failed in the last read: the next tick reads only them.
    std::vector<std::size_t> failedSlots_;
};

}  // namespace device
