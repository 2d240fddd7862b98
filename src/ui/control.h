#pragma once
// One named control of a form: its kind, place, look, content and event handlers. Every change
// bumps a revision counter, which tells the renderer what to repaint.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/geometry.h"

namespace ui {

class Form;

enum class ControlKind {
    Label,
    Picture,
    Edit,
    ListBox,
    ComboBox,
    CheckBox,
    RadioButton,
    GroupBox,
    Panel,
    Memo,
    RadioGroup,  // a hidden group of exclusive states
};

// Windowed controls lie above every label and picture, as child windows do.
bool isWindowed(ControlKind kind);

enum class Align { Left, Center, Right };
// Back and Forward are the side buttons: a recording hears them, controls do not.
enum class MouseButton { Left, Right, Middle, Back, Forward };

// The modifier keys held with a key press.
struct KeyState {
    bool shift = false, ctrl = false, alt = false;
};

struct Font {
    int size = 9;  // points
    Color color{255, 255, 255};
    bool bold = false;
    friend bool operator==(const Font&, const Font&) = default;
};

class Control {
  public:
    using Handler = std::function<void(Control&)>;
    using MouseHandler = std::function<void(Control&, MouseButton, int x, int y)>;
    // May replace the character with 0 to drop it.
    using KeyPressHandler = std::function<void(Control&, char32_t& ch)>;
    // `key` is a Windows virtual-key code; the handler may set it to 0 to swallow the key.
    using KeyDownHandler = std::function<void(Control&, int& key, KeyState state)>;

    Control(Form& form, ControlKind kind, std::string name, Control* parent, int z);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    ControlKind kind() const { return kind_; }
    bool windowed() const { return isWindowed(kind_); }
    Control* parent() const { return parent_; }
    Form& form() const { return form_; }
    const std::vector<Control*>& children() const { return children_; }

    // Relative to the parent, or to the form for top-level controls.
    const Rect& bounds() const { return bounds_; }
    void setBounds(Rect r);
    void setPosition(int x, int y) { setBounds({x, y, bounds_.w, bounds_.h}); }
    void setSize(int w, int h) { setBounds({bounds_.x, bounds_.y, w, h}); }
    // In form coordinates.
    Rect formBounds() const;

    bool visible() const { return visible_; }
    void setVisible(bool v);
    // Visible, and every parent too.
    bool showing() const;
    // The control's own flag; a disabled parent does not change it.
    bool enabled() const { return enabled_; }
    void setEnabled(bool e);
    // Enabled, and every parent too: what takes the pointer and the keys and what the hosts
    // show as enabled.
    bool usable() const;
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool r);

    const std::string& caption() const { return caption_; }  // UTF-8
    void setCaption(std::string text);
    const std::string& picture() const { return picture_; }  // resource name
    // Assigns the picture; a control with autoSize takes the picture's size.
    void setPicture(std::string name, std::optional<Size> pictureSize = std::nullopt);
    bool stretch() const { return stretch_; }
    void setStretch(bool s);
    // A picture drawn in this colour: its colour scaled channel by channel, its alpha kept, so
    // a white picture shows the colour itself. Nothing draws the picture as it is.
    const std::optional<Color>& tint() const { return tint_; }
    void setTint(std::optional<Color> c);
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool a) { autoSize_ = a; }

    const Font& font() const { return font_; }
    void setFont(const Font& f);
    void setFontSize(int size);
    void setFontColor(Color c);
    // Nothing for a transparent background.
    const std::optional<Color>& background() const { return background_; }
    void setBackground(std::optional<Color> c);
    std::optional<Color> borderColor() const { return border_; }
    void setBorderColor(std::optional<Color> c);
    Align alignment() const { return alignment_; }
    void setAlignment(Align a);
    // Captions centred vertically (button labels) rather than at the top.
    bool verticalCenter() const { return verticalCenter_; }
    // Logical pixels a button's caption keeps clear of each side, outside the button's bevel
    // (less on a narrow arrow label).
    int captionMargin() const { return verticalCenter_ ? std::min(5, bounds_.w / 8) : 0; }
    void setVerticalCenter(bool c);
    // A caption too long for its label keeps its size and scrolls when hovered, rather than
    // shrinking to fit (the key labels name whatever the mouse holds).
    bool scrollsWhenLong() const { return scrollsWhenLong_; }
    void setScrollsWhenLong(bool s);
    // Labels of one size group (not 0) are drawn at one size, the largest at which each of their
    // captions fits: a row of numbers does not mix sizes.
    int sizeGroup() const { return sizeGroup_; }
    void setSizeGroup(int g);

    const std::vector<std::string>& items() const { return items_; }
    void setItems(std::vector<std::string> items);
    void addItem(std::string item);
    void setItem(std::size_t index, std::string item);
    void clearItems();
    // Pictures drawn in front of the items of an owner-drawn list, one per item (may be shorter).
    const std::vector<std::string>& itemIcons() const { return itemIcons_; }
    void setItemIcons(std::vector<std::string> icons);
    // Texts shown, dimmer, in place of empty items (one per item; may be shorter). The items
    // themselves stay empty.
    const std::vector<std::string>& itemPlaceholders() const { return itemPlaceholders_; }
    void setItemPlaceholders(std::vector<std::string> texts);
    // What a list shows for item i: the item, or its placeholder when the item is empty.
    const std::string& shownItem(std::size_t i) const;
    bool placeholderShown(std::size_t i) const;
    // The last item drawn on a warning background (a macro at its limits).
    bool warnLastItem() const { return warnLastItem_; }
    void setWarnLastItem(bool warn);
    int itemIndex() const { return itemIndex_; }
    void setItemIndex(int i);
    int topIndex() const { return topIndex_; }
    void setTopIndex(int i);
    int itemHeight() const { return itemHeight_; }
    void setItemHeight(int h);
    int maxLength() const { return maxLength_; }
    void setMaxLength(int n);
    bool checked() const { return checked_; }
    void setChecked(bool c);
    int tag() const { return tag_; }
    void setTag(int t) { tag_ = t; }

    int z() const { return z_; }
    std::uint64_t revision() const { return revision_; }

    Handler onClick, onMouseEnter, onMouseLeave, onChange, onExit;
    MouseHandler onMouseDown;
    KeyPressHandler onKeyPress;
    KeyDownHandler onKeyDown;

  private:
    friend class Form;
    void touch();

    Form& form_;
    ControlKind kind_;
    std::string name_;
    Control* parent_;
    std::vector<Control*> children_;
    int z_;
    Rect bounds_;
    bool visible_ = true, enabled_ = true, readOnly_ = false;
    std::string caption_, picture_;
    bool stretch_ = false, autoSize_ = false;
    Font font_;
    std::optional<Color> background_, border_, tint_;
    Align alignment_ = Align::Left;
    bool verticalCenter_ = false, scrollsWhenLong_ = false;
    int sizeGroup_ = 0;
    std::vector<std::string> items_;
    std::vector<std::string> itemIcons_;
    std::vector<std::string> itemPlaceholders_;
    bool warnLastItem_ = false;
    int itemIndex_ = -1, topIndex_ = 0, itemHeight_ = 16, maxLength_ = 0;
    bool checked_ = false;
    int tag_ = 0;
    std::uint64_t revision_ = 1;
};

}  // namespace ui
