#include "ui/form.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace ui {

Control& Form::add(ControlKind kind, std::string name, Control* parent) {
    controls_.push_back(std::make_unique<Control>(*this, kind, std::move(name), parent, nextZ_++));
    Control& added = *controls_.back();
    byName_.emplace(added.name(), &added);  // a repeated name keeps finding the first
    return added;
}

Control* Form::find(std::string_view name) const {
    const auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

Control& Form::at(std::string_view name) const {
    Control* c = find(name);
    if (!c) {
        std::fprintf(stderr, "form %s has no control %.*s\n", name_.c_str(),
                     static_cast<int>(name.size()), name.data());
        std::abort();
    }
    return *c;
}

void Form::bringToFront(Control& c) {
    c.z_ = nextZ_++;
    c.touch();
}

std::vector<Control*> Form::paintOrder(const Control* parent) const {
    std::vector<Control*> order;
    if (parent) {
        order = parent->children();
    } else {
        for (const auto& c : controls_) {
            if (!c->parent()) order.push_back(c.get());
        }
    }
    std::ranges::stable_sort(order, [](const Control* a, const Control* b) {
        if (a->windowed() != b->windowed()) return !a->windowed();
        return a->z() < b->z();
    });
    return order;
}

Control* Form::hitIn(const std::vector<Control*>& order, int x, int y) const {
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        Control* c = *it;
        if (!c->visible() || c->kind() == ControlKind::RadioGroup) continue;
        if (!c->formBounds().contains(x, y)) continue;
        if (!c->children().empty()) {
            if (Control* child = hitIn(paintOrder(c), x, y)) return child;
        }
        return c;
    }
    return nullptr;
}

Control* Form::hitTest(int x, int y) const {
    return hitIn(paintOrder(), x, y);
}

void Form::pointerMove(int x, int y) {
    Control* now = hitTest(x, y);
    if (now == hovered_) return;
    Control* before = hovered_;
    hovered_ = now;
    if (before && before->usable() && before->onMouseLeave) before->onMouseLeave(*before);
    if (now && now->usable() && now->onMouseEnter) now->onMouseEnter(*now);
}

void Form::pointerLeft() {
    Control* before = hovered_;
    hovered_ = nullptr;
    if (before && before->usable() && before->onMouseLeave) before->onMouseLeave(*before);
}

namespace {

// The side buttons browse back and forward elsewhere; on our controls they would only surprise.
bool pressesControls(MouseButton button) {
    return button != MouseButton::Back && button != MouseButton::Forward;
}

}  // namespace

void Form::pointerDown(int x, int y, MouseButton button) {
    pointerMove(x, y);
    if (!pressesControls(button)) return;
    pressed_ = hitTest(x, y);
    if (!pressed_ || !pressed_->usable()) return;
    if (pressed_->windowed()) setFocus(pressed_);
    const Rect r = pressed_->formBounds();
    if (pressed_->onMouseDown) pressed_->onMouseDown(*pressed_, button, x - r.x, y - r.y);
}

void Form::pointerUp(int x, int y, MouseButton button) {
    if (!pressesControls(button)) return;
    Control* target = hitTest(x, y);
    Control* pressed = pressed_;
    pressed_ = nullptr;
    if (!target || target != pressed || !target->usable()) return;
    if (button == MouseButton::Left && target->onClick) target->onClick(*target);
}

char32_t Form::keyPress(char32_t ch) {
    if (focus_ && focus_->usable() && focus_->onKeyPress) focus_->onKeyPress(*focus_, ch);
    return ch;
}

int Form::keyDown(int key, KeyState state) {
    if (focus_ && focus_->usable() && focus_->onKeyDown) focus_->onKeyDown(*focus_, key, state);
    return key;
}

void Form::setFocus(Control* c) {
    ++focusRevision_;
    focusRequest_ = c;
    focusMoved(c);
}

void Form::focusMoved(Control* c) {
    if (c == focus_) return;
    Control* before = focus_;
    focus_ = c;
    if (before && before->onExit) before->onExit(*before);
}

void Form::touched(Control& c) {
    ++revision_;
    invalidate(c.formBounds());
}

void Form::invalidate(const Rect& r) {
    if (r.w > 0 && r.h > 0) dirty_.push_back(r);
}

std::vector<Rect> Form::takeDirty() {
    std::vector<Rect> out;
    out.swap(dirty_);
    return out;
}

}  // namespace ui
