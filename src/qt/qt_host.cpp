#include "qt/qt_host.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <algorithm>

#include "qt/picture_prefetch.h"
#include "skin/pictures.h"

namespace qtui {

QtHost::QtHost() {
    clock_.start();
}

QtHost::~QtHost() {
    for (auto& [timer, q] : timers_) timer->setDriver(nullptr);
}

FormView& QtHost::ensureView(ui::Form& form) {
    auto& view = views_[&form];
    if (!view) {
        Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
        if (&form != main_) flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
        view = std::make_unique<FormView>(form, *this, flags);
        if (&form != main_) view->setKeyedBackground();
        if (form.role() == ui::Form::Role::Floating)
            view->setAttribute(Qt::WA_ShowWithoutActivating);
        if (&form == main_)
            view->onCloseRequest = [this] {
                const bool close = !closeRequest_ || closeRequest_();
                if (close) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
                return close;
            };
    }
    return *view;
}

void QtHost::setMainForm(ui::Form& form, std::function<bool()> closeRequest) {
    main_ = &form;
    closeRequest_ = std::move(closeRequest);
    ensureView(form);
}

FormView* QtHost::viewOf(ui::Form& form) {
    const auto it = views_.find(&form);
    return it == views_.end() ? nullptr : it->second.get();
}

void QtHost::raiseMainWindow() {
    FormView* view = main_ ? viewOf(*main_) : nullptr;
    if (!view) return;
    view->showNormal();
    view->raise();
    view->activateWindow();
}

void QtHost::syncAll() {
    for (auto& [form, view] : views_) view->sync();
}

void QtHost::processMessages() {
    syncAll();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    syncAll();
}

void QtHost::sleep(int milliseconds) {
    // The window stays painted (and the wait animation runs) through the waits, while input
    // waits for their end, as it would behind a blocking sleep.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        syncAll();
        const qint64 left = milliseconds - waited.elapsed();
        if (left <= 0) break;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents,
                                        static_cast<int>(std::min<qint64>(left, 10)));
        const qint64 rest = milliseconds - waited.elapsed();
        if (rest > 0) QThread::msleep(static_cast<unsigned long>(std::min<qint64>(rest, 5)));
    }
}

std::uint64_t QtHost::tickCount() {
    return static_cast<std::uint64_t>(clock_.elapsed());
}

void QtHost::timerChanged(ui::Timer& timer) {
    if (timer.driver() != this) {
        timers_.erase(&timer);
        return;
    }
    auto& q = timers_[&timer];
    if (!q) {
        q = std::make_unique<QTimer>();
        QObject::connect(q.get(), &QTimer::timeout, [this, &timer] {
            timer.fire();
            syncAll();
        });
    }
    q->setInterval(timer.interval());
    if (timer.enabled() && !q->isActive()) q->start();
    if (!timer.enabled()) q->stop();
}

void QtHost::showMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title_),
                    QString::fromStdString(text), QMessageBox::Ok,
                    main_ ? viewOf(*main_) : nullptr);
    box.exec();
    syncAll();
}

bool QtHost::askYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Information, QString::fromStdString(title_),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                    main_ ? viewOf(*main_) : nullptr);
    const bool yes = box.exec() == QMessageBox::Yes;
    syncAll();
    return yes;
}

namespace {

// Opens in the given folder, else in the documents folder; offers the extra places in the
// side bar after the usual ones.
void placeFileDialog(QFileDialog& fd, const ui::FileDialog& dialog) {
    fd.setDirectory(dialog.folder.empty()
                        ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                        : QString::fromStdString(dialog.folder));
    QList<QUrl> places = fd.sidebarUrls();
    for (const std::string& place : dialog.places) {
        const QUrl url = QUrl::fromLocalFile(QString::fromStdString(place));
        if (!places.contains(url)) places << url;
    }
    fd.setSidebarUrls(places);
}

}  // namespace

std::optional<std::string> QtHost::openFileName(const ui::FileDialog& dialog) {
    QFileDialog fd(main_ ? viewOf(*main_) : nullptr, QString::fromStdString(title_), QString(),
                   QString::fromStdString(dialog.filter));
    fd.setAcceptMode(QFileDialog::AcceptOpen);
    fd.setFileMode(QFileDialog::ExistingFile);
    placeFileDialog(fd, dialog);
    const bool ok = fd.exec() == QDialog::Accepted && !fd.selectedFiles().isEmpty();
    syncAll();
    if (!ok) return std::nullopt;
    return fd.selectedFiles().front().toStdString();
}

std::optional<std::string> QtHost::saveFileName(const ui::FileDialog& dialog) {
    QFileDialog fd(main_ ? viewOf(*main_) : nullptr, QString::fromStdString(title_), QString(),
                   QString::fromStdString(dialog.filter));
    fd.setAcceptMode(QFileDialog::AcceptSave);
    fd.setDefaultSuffix(QString::fromStdString(dialog.defaultExtension));
    placeFileDialog(fd, dialog);
    const bool ok = fd.exec() == QDialog::Accepted && !fd.selectedFiles().isEmpty();
    syncAll();
    if (!ok) return std::nullopt;
    return fd.selectedFiles().front().toStdString();
}

void QtHost::showForm(ui::Form& form) {
    FormView& view = ensureView(form);
    view.sync();
    view.show();
    if (&form != main_) view.raise();
    if (form.role() == ui::Form::Role::Dialog) view.activateWindow();
}

void QtHost::hideForm(ui::Form& form) {
    if (FormView* view = viewOf(form)) view->hide();
}

void QtHost::repaint(ui::Form& form) {
    if (FormView* view = viewOf(form)) {
        view->sync();
        view->update();
    }
}

void QtHost::closeMainWindow() {
    if (FormView* view = main_ ? viewOf(*main_) : nullptr) view->close();
}

void QtHost::openUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

ui::Size QtHost::screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {800, 600};
    return {screen->geometry().width(), screen->geometry().height()};
}

void QtHost::startWindowMove() {
    FormView* view = main_ ? viewOf(*main_) : nullptr;
    if (!view) return;
    // Window managers without _NET_WM_MOVERESIZE, and no window manager at all, refuse the
    // system move: then the window follows the pointer itself.
    if (view->windowHandle() && view->windowHandle()->startSystemMove()) return;
    view->beginManualMove();
}

void QtHost::afterFirstPaint(std::function<void()> task) {
    if (painted_) {
        post(std::move(task));
    } else {
        afterFirstPaint_.push_back(std::move(task));
    }
}

QIcon pictureIcon(const std::string& pictureName) {
    QIcon icon;
    if (const QImage image = decodeImage(pictureName); !image.isNull())
        icon.addPixmap(QPixmap::fromImage(image));
    // A scaled screen, a tray or a task switcher takes the larger picture where it has room.
    if (const std::string large = skin::pictureInSet(pictureName, 2.0); large != pictureName) {
        if (const QImage image = decodeImage(large); !image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

void QtHost::firstPaintDone() {
    if (painted_) return;
    painted_ = true;
    for (auto& task : afterFirstPaint_) post(std::move(task));
    afterFirstPaint_.clear();
}

void QtHost::setTrayIcon(const std::string& pictureName) {
    // Asking the desktop for its tray takes a D-Bus round trip or more: after the first paint.
    if (!painted_) {
        afterFirstPaint_.push_back([this, pictureName] { setTrayIcon(pictureName); });
        return;
    }
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;  // no tray on this desktop
    const QIcon icon = pictureIcon(pictureName);
    if (icon.isNull()) return;
    tray_ = std::make_unique<QSystemTrayIcon>(icon);
    tray_->show();
}

void QtHost::setApplicationTitle(const std::string& title) {
    // Kept for the message boxes only: as Qt's display name it would be appended to the
    // window's own caption.
    title_ = title;
}

void QtHost::post(std::function<void()> task) {
    QMetaObject::invokeMethod(
        qApp,
        [this, task = std::move(task)] {
            task();
            syncAll();
        },
        Qt::QueuedConnection);
}

}  // namespace qtui
