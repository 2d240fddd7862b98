#include "ui/control.h"

#include "ui/form.h"

namespace ui {

bool isWindowed(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
        case ControlKind::Picture:
        case ControlKind::RadioGroup:
            return false;
        default:
            return true;
    }
}

Control::Control(Form& form, ControlKind kind, std::string name, Control* parent, int z)
    : form_(form), kind_(kind), name_(std::move(name)), parent_(parent), z_(z) {
    if (parent_) parent_->children_.push_back(this);
    if (kind_ == ControlKind::RadioGroup) visible_ = false;
}

void Control::touch() {
    ++revision_;
    form_.touched(*this);
}

template <typename T>
static bool assign(T& field, T value) {
    if (field == value) return false;
    field = std::move(value);
    return true;
}

void Control::setBounds(Rect r) {
    if (r == bounds_) return;
    form_.invalidate(formBounds());  // the old place needs repainting too
    bounds_ = r;
    touch();
}

Rect Control::formBounds() const {
    Rect r = bounds_;
    for (const Control* p = parent_; p; p = p->parent_) {
        r.x += p->bounds_.x;
        r.y += p->bounds_.y;
    }
    return r;
}

void Control::setVisible(bool v) {
    if (assign(visible_, v)) touch();
}

bool Control::showing() const {
    for (const Control* c = this; c; c = c->parent_) {
        if (!c->visible_) return false;
    }
    return true;
}

void Control::setEnabled(bool e) {
    if (assign(enabled_, e)) touch();
}

bool Control::usable() const {
    for (const Control* c = this; c; c = c->parent_) {
        if (!c->enabled_) return false;
    }
    return true;
}
void Control::setReadOnly(bool r) {
    if (assign(readOnly_, r)) touch();
}
void Control::setCaption(std::string text) {
    if (assign(caption_, std::move(text))) touch();
}

void Control::setPicture(std::string name, std::optional<Size> pictureSize) {
    if (autoSize_ && pictureSize) setSize(pictureSize->w, pictureSize->h);
    if (assign(picture_, std::move(name))) touch();
}

void Control::setStretch(bool s) {
    if (assign(stretch_, s)) touch();
}
void Control::setFont(const Font& f) {
    if (assign(font_, f)) touch();
}
void Control::setFontSize(int size) {
    Font f = font_;
    f.size = size;
    setFont(f);
}
void Control::setFontColor(Color c) {
    Font f = font_;
    f.color = c;
    setFont(f);
}
void Control::setBackground(std::optional<Color> c) {
    if (assign(background_, c)) touch();
}
void Control::setBorderColor(std::optional<Color> c) {
    if (assign(border_, c)) touch();
}
void Control::setAlignment(Align a) {
    if (assign(alignment_, a)) touch();
}
void Control::setVerticalCenter(bool c) {
    if (assign(verticalCenter_, c)) touch();
}
void Control::setScrollsWhenLong(bool s) {
    if (assign(scrollsWhenLong_, s)) touch();
}
void Control::setSizeGroup(int g) {
    if (assign(sizeGroup_, g)) touch();
}
void Control::setItems(std::vector<std::string> items) {
    if (!assign(items_, std::move(items))) return;
    if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = -1;
    touch();
}
void Control::setWarnLastItem(bool warn) {
    if (assign(warnLastItem_, warn)) touch();
}
void Control::setItemIcons(std::vector<std::string> icons) {
    if (assign(itemIcons_, std::move(icons))) touch();
}
void Control::setItemPlaceholders(std::vector<std::string> texts) {
    if (assign(itemPlaceholders_, std::move(texts))) touch();
}
bool Control::placeholderShown(std::size_t i) const {
    return i < items_.size() && items_[i].empty() && i < itemPlaceholders_.size();
}
const std::string& Control::shownItem(std::size_t i) const {
    static const std::string none;
    if (placeholderShown(i)) return itemPlaceholders_[i];
    return i < items_.size() ? items_[i] : none;
}
void Control::setTint(std::optional<Color> c) {
    if (assign(tint_, c)) touch();
}
void Control::addItem(std::string item) {
    items_.push_back(std::move(item));
    touch();
}
void Control::setItem(std::size_t index, std::string item) {
    if (index < items_.size() && assign(items_[index], std::move(item))) touch();
}
void Control::clearItems() {
    if (items_.empty() && itemIndex_ == -1) return;
    items_.clear();
    itemIcons_.clear();
    itemIndex_ = -1;
    topIndex_ = 0;
    touch();
}
void Control::setItemIndex(int i) {
    if (i < -1 || i >= static_cast<int>(items_.size())) i = -1;
    if (assign(itemIndex_, i)) touch();
}
void Control::setTopIndex(int i) {
    if (assign(topIndex_, i < 0 ? 0 : i)) touch();
}
void Control::setItemHeight(int h) {
    if (assign(itemHeight_, h)) touch();
}
void Control::setMaxLength(int n) {
    if (assign(maxLength_, n)) touch();
}
void Control::setChecked(bool c) {
    if (assign(checked_, c)) touch();
}

}  // namespace ui
