#include "qt/form_view.h"

#include <QBitmap>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <optional>

#include "keys/key_positions.h"
#include "qt/first_paint.h"
#include "qt/linux/compositor.h"
#include "qt/picture_prefetch.h"
#include "qt/qt_host.h"
#include "skin/pictures.h"

namespace qtui {
namespace {

QColor qcolor(const ui::Color& c) {
    return QColor(c.r, c.g, c.b);
}

QRect qrect(const ui::Rect& r) {
    return QRect(r.x, r.y, r.w, r.h);
}

// A read-only field takes keys, not text: it refuses the input method, whose compose step
// would otherwise swallow a dead key before the field hears its press. A read-only QLineEdit
// still answers that it accepts one.
class KeyField : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override {
        if (query == Qt::ImEnabled && isReadOnly()) return false;
        return QLineEdit::inputMethodQuery(query);
    }
};

// Nothing for the buttons beyond the five the editor knows: they press nothing.
std::optional<ui::MouseButton> buttonOf(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton:
            return ui::MouseButton::Left;
        case Qt::RightButton:
            return ui::MouseButton::Right;
        case Qt::MiddleButton:
            return ui::MouseButton::Middle;
        case Qt::BackButton:
            return ui::MouseButton::Back;
        case Qt::ForwardButton:
            return ui::MouseButton::Forward;
        default:
            return std::nullopt;
    }
}

QFont fontOf(const ui::Font& f, bool condensed = false) {
    QFont font(condensed ? "DejaVu Sans Condensed" : "DejaVu Sans");
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setPixelSize(pixelSize(f.size));
    font.setBold(f.bold);
    return font;
}

QString styleOf(const ui::Control& c) {
    QString style;
    style += QString("color: %1;").arg(qcolor(c.font().color).name());
    if (c.background())
        style += QString("background-color: %1;").arg(qcolor(*c.background()).name());
    if (c.borderColor()) {
        style += QString("border: 1px solid %1;").arg(qcolor(*c.borderColor()).name());
    } else {
        style += "border: none;";
    }
    return style;
}

}  // namespace

// A caption never runs out of its label: a button caption that is too wide breaks into two
// lines when they fit, and otherwise any caption gets a smaller font until it fits; at the
// smallest size any caption may break into two lines. A button's caption keeps clear of its edges.
FittedCaption fitCaption(const ui::Control& c, const QRect& r, int flags, int largest) {
    const QString text = QString::fromStdString(c.caption());
    const bool button = c.verticalCenter();
    const QRect room = captionRoom(c, r);
    // The condensed face keeps the tight rows of the layout (DPI levels 29 pixels apart) readable.
    QFont font = fontOf(c.font(), true);
    if (largest > 0 && largest < font.pixelSize()) font.setPixelSize(largest);
    // A label that scrolls when hovered keeps its size and shows the start of its caption.
    const int minimum = c.scrollsWhenLong() ? font.pixelSize() : 8;
    for (;;) {
        const QFontMetrics fm(font);
        if (fm.horizontalAdvance(text) <= room.width()) return {font, false, true};
        if (!c.scrollsWhenLong() && (button || font.pixelSize() <= minimum) && text.contains(' ')) {
            const QRect wrapped = fm.boundingRect(room, flags | Qt::TextWordWrap, text);
            if (wrapped.height() <= room.height() && wrapped.width() <= room.width())
                return {font, true, true};
        }
        if (font.pixelSize() <= minimum) return {font, false, false};
        font.setPixelSize(font.pixelSize() - 1);
    }
}

QRect captionRoom(const ui::Control& c, const QRect& r) {
    return r.adjusted(c.captionMargin(), 0, -c.captionMargin(), 0);
}

int sizeGroupPixelSize(const ui::Form& form, const ui::Control& c) {
    if (!c.sizeGroup()) return 0;
    int pixels = 0;
    for (const auto& other : form.controls()) {
        if (other->sizeGroup() != c.sizeGroup() || other->caption().empty()) continue;
        const ui::Rect b = other->bounds();
        const int flags = other->verticalCenter() ? Qt::AlignVCenter : Qt::AlignTop;
        const int fitted = fitCaption(*other, QRect(0, 0, b.w, b.h), flags).font.pixelSize();
        pixels = pixels ? std::min(pixels, fitted) : fitted;
    }
    return pixels;
}

void drawCaption(QPainter& p, const ui::Control& c, const QRect& r, int largest) {
    int flags = c.verticalCenter() ? Qt::AlignVCenter : Qt::AlignTop;
    flags |= c.alignment() == ui::Align::Center  ? Qt::AlignHCenter
             : c.alignment() == ui::Align::Right ? Qt::AlignRight
                                                 : Qt::AlignLeft;
    const FittedCaption fitted = fitCaption(c, r, flags, largest);
    const QRect room = captionRoom(c, r);
    p.setFont(fitted.font);
    QString text = QString::fromStdString(c.caption());
    // What does not fit even so ends in an ellipsis rather than in half a letter.
    if (!fitted.fits)
        text = QFontMetrics(fitted.font).elidedText(text, Qt::ElideRight, room.width());
    p.drawText(room, flags | (fitted.wrapped ? Qt::TextWordWrap : Qt::TextSingleLine), text);
}

namespace {

// Replaces a list's or combo box's items only when the model's differ, so that the widget's
// scrolling survives a sync.
template <typename Widget, typename TextAt>
void replaceItemsIfChanged(Widget* w, const ui::Control& c, TextAt textAt) {
    QStringList items;
    for (std::size_t i = 0; i < c.items().size(); ++i)
        items << QString::fromStdString(c.shownItem(i));
    QStringList current;
    for (int i = 0; i < w->count(); ++i) current << textAt(i);
    if (current == items) return;
    w->clear();
    w->addItems(items);
}

// The key a key event comes from, by its position: the virtual-key code a US keyboard has
// there, whatever the layout types (0 for keys without a position). The native scan code is
// the X11 keycode, the evdev code + 8, also under Wayland.
int virtualKeyOf(const QKeyEvent& e) {
    // AltGr is a modifier wherever the layout puts it; Windows reports it as Right Alt.
    if (e.key() == Qt::Key_AltGr) return 0xA5;
#if defined(Q_OS_WIN)
    return keys::scanCodeToPositionKey(keys::scanCodeOfKeyMessage(e.nativeScanCode() << 16));
#else
    return keys::evdevCodeToPositionKey(static_cast<int>(e.nativeScanCode()) - 8);
#endif
}

// The picture's brightness (its strongest channel) in the tint's colour, its alpha kept.
QImage tintedImage(const QImage& picture, ui::Color tint) {
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb v = line[x];
            const int level = std::max({qRed(v), qGreen(v), qBlue(v)});
            line[x] =
                qRgba(tint.r * level / 255, tint.g * level / 255, tint.b * level / 255, qAlpha(v));
        }
    }
    return out;
}

}  // namespace

QPoint FormView::logicalPixel(const QPointF& position) const {
    // The logical pixel that holds the centre of the device pixel under the pointer: rounding
    // instead would give the next control the right half of a control's edge at 200 %.
    const double half = 0.5 / devicePixelRatioF();
    return QPoint(static_cast<int>(std::floor(position.x() + half)),
                  static_cast<int>(std::floor(position.y() + half)));
}

int pixelSize(int points) {
    return (points * 96 + 36) / 72;
}

FormView::FormView(ui::Form& form, QtHost& host, Qt::WindowFlags flags)
    : QWidget(nullptr, flags), form_(form), host_(host) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(QString::fromStdString(form.caption()));
    const ui::Rect b = form.bounds();
    setFixedSize(b.w, b.h);
    move(b.x, b.y);
}

const FormView::Scaled* FormView::image(const std::string& name) {
    auto it = images_.find(name);
    if (it == images_.end()) {
        const std::string resource = skin::pictureInSet(name, pictureSet_);
        std::optional<QImage> prefetched = PicturePrefetch::take(resource);
        Scaled s{prefetched ? std::move(*prefetched) : decodeImage(resource),
                 resource == name ? 1.0 : pictureSet_};
        s.image.setDevicePixelRatio(s.factor);  // drawn at its logical size
        it = images_.emplace(name, std::move(s)).first;
    }
    return it->second.image.isNull() ? nullptr : &it->second;
}

bool FormView::followScale() {
    const double set = skin::pictureSetFor(devicePixelRatioF());
    if (set == pictureSet_) return false;
    pictureSet_ = set;
    images_.clear();
    // The list icons come from the pictures too: made again at the next sync.
    for (auto& [control, hosted] : widgets_) hosted.revision = 0;
    return true;
}

void FormView::showEvent(QShowEvent*) {
    if (followsScreen_ || !windowHandle()) return;
    followsScreen_ = true;
    // Moved to a screen of another scale: Qt repaints at the new ratio, with the pictures of
    // the set that fits it.
    QObject::connect(windowHandle(), &QWindow::screenChanged, this, [this] {
        if (!followScale()) return;
        sync();
        update();
    });
}

void FormView::setKeyedBackground() {
    keyed_ = true;
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAttribute(Qt::WA_TranslucentBackground);
}

QRegion FormView::paintedRegion() {
    QImage painted(size(), QImage::Format_ARGB32_Premultiplied);
    painted.fill(Qt::transparent);
    QPainter p(&painted);
    paintChildren(p, nullptr);
    p.end();
    return QRegion(QBitmap::fromImage(painted.createAlphaMask()));
}

void FormView::updateShape() {
    if (desktopBlendsWindows()) {
        if (!mask().isEmpty()) clearMask();
        return;
    }
    const QRegion shape = paintedRegion();
    if (shape != mask()) setMask(shape);
}

void FormView::paintEvent(QPaintEvent*) {
    // A ratio that changed without a screen change (a desktop setting) is found here.
    if (followScale())
        QMetaObject::invokeMethod(
            this, [this] { sync(); }, Qt::QueuedConnection);
    QPainter p(this);
    if (keyed_) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(rect(), Qt::transparent);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
        p.fillRect(rect(), Qt::black);
    }
    paintChildren(p, nullptr);
    if (!firstPaintReported_) {
        firstPaintReported_ = true;
        reportFirstPaint();
        if (isWindow() && !isHidden()) host_.firstPaintDone();
    }
}

const QImage& FormView::tinted(const QImage& picture, ui::Color tint) {
    if (tinted_.source != picture.cacheKey() || !(tinted_.tint == tint))
        tinted_ = {picture.cacheKey(), tint, tintedImage(picture, tint)};
    return tinted_.image;
}

void FormView::paintChildren(QPainter& p, const ui::Control* parent) {
    for (const ui::Control* c : form_.paintOrder(parent)) {
        if (c->visible()) paintControl(p, *c);
    }
}

void FormView::paintControl(QPainter& p, const ui::Control& c) {
    const QRect r = qrect(c.formBounds());
    switch (c.kind()) {
        case ui::ControlKind::Picture:
            if (const Scaled* s = image(c.picture())) {
                const QImage& shown = c.tint() ? tinted(s->image, *c.tint()) : s->image;
                p.save();
                p.setClipRect(r);
                // A picture of the window's own scale is copied pixel for pixel from a whole
                // device pixel (a 1.5x picture is rounded); between the sets (125 %, 175 %) and
                // above 2x it is scaled smoothly.
                const double ratio = devicePixelRatioF();
                if (s->factor != ratio) p.setRenderHint(QPainter::SmoothPixmapTransform);
                if (c.stretch()) {
                    p.drawImage(QRectF(r), shown);
                } else {
                    p.drawImage(QPointF(std::round(r.x() * ratio) / ratio,
                                        std::round(r.y() * ratio) / ratio),
                                shown);
                }
                p.restore();
            }
            break;
        case ui::ControlKind::Label: {
            if (c.background()) p.fillRect(r, qcolor(*c.background()));
            if (c.caption().empty()) break;
            p.setPen(qcolor(c.usable() ? c.font().color : ui::Color{128, 128, 128}));
            drawCaption(p, c, r, sizeGroupPixelSize(form_, c));
            break;
        }
        case ui::ControlKind::Panel:
        case ui::ControlKind::GroupBox:
            if (c.background()) p.fillRect(r, qcolor(*c.background()));
            if (c.borderColor()) {
                p.setPen(qcolor(*c.borderColor()));
                p.drawRect(r.adjusted(0, 0, -1, -1));
            }
            paintChildren(p, &c);
            break;
        default:
            break;  // input controls are widgets of their own
    }
}

QWidget* FormView::createWidget(ui::Control& c) {
    QWidget* w = nullptr;
    switch (c.kind()) {
        case ui::ControlKind::Edit: {
            auto* edit = new KeyField(this);
            QObject::connect(edit, &QLineEdit::textEdited, this, [this, &c](const QString& text) {
                c.setCaption(text.toStdString());
                if (c.onChange) c.onChange(c);
                afterInput();
            });
            w = edit;
            break;
        }
        case ui::ControlKind::Memo:
            w = new QPlainTextEdit(this);
            break;
        case ui::ControlKind::ListBox: {
            auto* list = new QListWidget(this);
            list->setFrameShape(QFrame::NoFrame);
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            QObject::connect(list, &QListWidget::currentRowChanged, this, [this, &c](int row) {
                if (syncing_) return;
                c.setItemIndex(row);
                if (c.onClick) c.onClick(c);
                afterInput();
            });
            w = list;
            break;
        }
        case ui::ControlKind::ComboBox: {
            auto* combo = new QComboBox(this);
            QObject::connect(combo, &QComboBox::currentIndexChanged, this, [this, &c](int index) {
                if (syncing_) return;
                c.setItemIndex(index);
                if (c.onChange) c.onChange(c);
                afterInput();
            });
            w = combo;
            break;
        }
        case ui::ControlKind::CheckBox:
        case ui::ControlKind::RadioButton: {
            QAbstractButton* b = c.kind() == ui::ControlKind::CheckBox
                                     ? static_cast<QAbstractButton*>(new QCheckBox(this))
                                     : new QRadioButton(this);
            QObject::connect(b, &QAbstractButton::clicked, this, [this, &c](bool checked) {
                c.setChecked(checked);
                if (c.onClick) c.onClick(c);
                afterInput();
            });
            w = b;
            break;
        }
        default:
            return nullptr;
    }
    w->installEventFilter(this);
    controlOf_[w] = &c;
    return w;
}

void FormView::syncWidget(ui::Control& c, Hosted& h) {
    if (!h.widget) h.widget = createWidget(c);
    if (!h.widget || h.revision == c.revision()) return;
    h.revision = c.revision();
    QWidget* w = h.widget;
    w->setGeometry(qrect(c.formBounds()));
    w->setFont(fontOf(c.font()));
    const QString text = QString::fromStdString(c.caption());
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (edit->text() != text) edit->setText(text);
        edit->setReadOnly(c.readOnly());
        edit->setMaxLength(c.maxLength() > 0 ? c.maxLength() : 32767);
        edit->setAlignment(c.alignment() == ui::Align::Right ? Qt::AlignRight : Qt::AlignLeft);
        edit->setStyleSheet(styleOf(c));
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        replaceItemsIfChanged(list, c, [list](int i) { return list->item(i)->text(); });
        const auto& icons = c.itemIcons();
        for (int i = 0; i < list->count(); ++i) {
            list->item(i)->setSizeHint(QSize(0, c.itemHeight()));
            const Scaled* icon = static_cast<std::size_t>(i) < icons.size()
                                     ? image(icons[static_cast<std::size_t>(i)])
                                     : nullptr;
            list->item(i)->setIcon(icon ? QIcon(QPixmap::fromImage(icon->image)) : QIcon());
        }
        if (!icons.empty()) list->setIconSize(QSize(c.itemHeight() - 2, c.itemHeight() - 2));
        // A placeholder for an empty item is drawn at half strength, below any real text.
        QColor dim = qcolor(c.font().color);
        dim.setAlpha(128);
        for (int i = 0; i < list->count(); ++i) {
            const bool warn = c.warnLastItem() && i == list->count() - 1;
            list->item(i)->setBackground(warn ? QBrush(QColor(255, 0, 0)) : QBrush());
            list->item(i)->setForeground(
                c.placeholderShown(static_cast<std::size_t>(i)) ? QBrush(dim) : QBrush());
        }
        list->setCurrentRow(c.itemIndex());
        list->setStyleSheet(
            "QListWidget{" + styleOf(c) +
            "} QListWidget::item:selected{background:#e3262e;color:white;}"
            " QScrollBar:vertical{background:#15171b;width:10px;margin:0;}"
            " QScrollBar::handle:vertical{background:#3a3f49;border-radius:4px;min-height:20px;}"
            " QScrollBar::add-line,QScrollBar::sub-line{height:0;}");
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        replaceItemsIfChanged(combo, c, [combo](int i) { return combo->itemText(i); });
        combo->setCurrentIndex(c.itemIndex());
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(text);
        button->setChecked(c.checked());
        button->setStyleSheet(QString("color: %1;").arg(qcolor(c.font().color).name()));
    }
    w->setVisible(c.showing());
}

void FormView::sync() {
    syncing_ = true;
    const ui::Rect b = form_.bounds();
    if (pos() != QPoint(b.x, b.y)) move(b.x, b.y);
    if (size() != QSize(b.w, b.h)) setFixedSize(b.w, b.h);
    const auto dirty = form_.takeDirty();
    if (dirty.size() > 64) {
        update();
    } else {
        for (const ui::Rect& r : dirty) update(qrect(r));
    }
    if (keyed_ && !dirty.empty()) updateShape();
    for (const auto& c : form_.controls()) {
        if (!c->windowed()) continue;
        Hosted& h = widgets_[c.get()];
        // A widget is made when its control first shows: the pages hidden at start-up cost
        // nothing before the first paint.
        if (!h.widget && !c->showing()) continue;
        // A hidden or disabled parent hides or disables its widgets, which are children of the
        // view, not of the parent's; the revision of the parent does not tell, so both are
        // checked every time.
        syncWidget(*c, h);
        if (!h.widget) continue;
        if (h.widget->isEnabled() != c->usable()) h.widget->setEnabled(c->usable());
        if (h.widget->isVisible() != c->showing()) h.widget->setVisible(c->showing());
    }
    syncing_ = false;
    // Last, as the move reports itself back through the focus events and syncs again.
    if (focusRevision_ != form_.focusRevision()) {
        focusRevision_ = form_.focusRevision();
        giveFocus();
    }
}

void FormView::giveFocus() {
    ui::Control* c = form_.focusRequest();
    const auto it = widgets_.find(c);
    if (!c || it == widgets_.end() || !it->second.widget || !c->showing() || !c->usable()) return;
    // On a hidden window this makes the widget the one that takes the focus when it shows.
    it->second.widget->setFocus(Qt::OtherFocusReason);
}

void FormView::afterInput() {
    host_.syncAll();
}

void FormView::beginManualMove() {
    manualMove_ = true;
    grabOffset_ = QCursor::pos() - pos();
    grabMouse();
}

void FormView::moveEvent(QMoveEvent*) {
    // The desktop moved the window (a drag): the model follows, so that a later sync keeps it
    // where the user put it.
    const ui::Rect b = form_.bounds();
    if (pos() != QPoint(b.x, b.y)) form_.setBounds({x(), y(), b.w, b.h});
}

void FormView::mouseMoveEvent(QMouseEvent* e) {
    if (manualMove_) {
        move(e->globalPosition().toPoint() - grabOffset_);
        return;
    }
    const QPoint at = logicalPixel(e->position());
    form_.pointerMove(at.x(), at.y());
    afterInput();
}

void FormView::mousePressEvent(QMouseEvent* e) {
    const auto button = buttonOf(e->button());
    if (!button) return;
    form_.windowButton(*button, true);
    const QPoint at = logicalPixel(e->position());
    form_.pointerDown(at.x(), at.y(), *button);
    afterInput();
}

void FormView::mouseReleaseEvent(QMouseEvent* e) {
    if (manualMove_) {
        manualMove_ = false;
        releaseMouse();
    }
    const auto button = buttonOf(e->button());
    if (!button) return;
    form_.windowButton(*button, false);
    const QPoint at = logicalPixel(e->position());
    form_.pointerUp(at.x(), at.y(), *button);
    afterInput();
}

// Keys reach the window itself only while none of its widgets has the focus.
void FormView::keyPressEvent(QKeyEvent* e) {
    if (!e->isAutoRepeat()) form_.windowKey(virtualKeyOf(*e), true);
    QWidget::keyPressEvent(e);
}

void FormView::keyReleaseEvent(QKeyEvent* e) {
    if (!e->isAutoRepeat()) form_.windowKey(virtualKeyOf(*e), false);
    QWidget::keyReleaseEvent(e);
}

void FormView::leaveEvent(QEvent*) {
    form_.pointerLeft();
    afterInput();
}

void FormView::closeEvent(QCloseEvent* e) {
    if (onCloseRequest && !onCloseRequest()) {
        e->ignore();
        return;
    }
    e->accept();
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    const auto it = controlOf_.find(watched);
    if (it == controlOf_.end()) return false;
    ui::Control& c = *it->second;
    switch (event->type()) {
        case QEvent::Enter: {
            // The pointer over a widget is over its control: the labels below it are left.
            const ui::Rect r = c.formBounds();
            form_.pointerMove(r.x + 1, r.y + 1);
            afterInput();
            break;
        }
        case QEvent::FocusIn:
            form_.focusMoved(&c);
            break;
        case QEvent::FocusOut:
            if (form_.focus() == &c) form_.focusMoved(nullptr);
            afterInput();
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease: {
            const auto button = buttonOf(static_cast<QMouseEvent*>(event)->button());
            if (!button) break;
            form_.windowButton(*button, event->type() == QEvent::MouseButtonPress);
            // The side buttons press no control, a list's item no more than a label.
            if (*button == ui::MouseButton::Back || *button == ui::MouseButton::Forward)
                return true;
            break;
        }
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat()) form_.windowKey(virtualKeyOf(*key), false);
            break;
        }
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat()) form_.windowKey(virtualKeyOf(*key), true);
            const Qt::KeyboardModifiers mods = key->modifiers();
            const ui::KeyState state{(mods & Qt::ShiftModifier) != 0,
                                     (mods & Qt::ControlModifier) != 0,
                                     (mods & Qt::AltModifier) != 0};
            // Swallowed only when a handler says so: a key the tables do not know (0) still types.
            const int vk = virtualKeyOf(*key);
            if (form_.keyDown(vk, state) != vk) return true;
            const QString text = key->text();
            if (!text.isEmpty() && (text[0].isPrint() || text[0] == QChar('\b'))) {
                char32_t ch = text.toUcs4().value(0);
                if (form_.keyPress(ch) == 0) return true;
            }
            break;
        }
        default:
            break;
    }
    return false;
}

}  // namespace qtui
