#include "platform/QtServices.h"

#include "platform/Fatal.h"
#include "platform/QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <cstdlib>

namespace plat {
namespace {

class QtTimer : public Timer {
public:
    explicit QtTimer(std::function<void()> fn)
        : fn_(std::move(fn)), timer_(new QTimer), alive_(std::make_shared<bool>(true)) {
        QObject::connect(timer_, &QTimer::timeout, [this, alive = alive_] {
            firing_ = true;
            fn_();
            // The callback may have destroyed this timer: touch nothing of it then.
            if (*alive) firing_ = false;
        });
    }
    ~QtTimer() override {
        *alive_ = false;
        timer_->stop();
        if (firing_) {
            // Destroyed from inside its own timeout, which Qt is still delivering.
            timer_->deleteLater();
        } else {
            delete timer_;
        }
    }
    void Start(int intervalMs) override { timer_->start(intervalMs > 0 ? intervalMs : 1); }
    void Stop() override { timer_->stop(); }

private:
    std::function<void()> fn_;
    QTimer* timer_;
    std::shared_ptr<bool> alive_;
    bool firing_ = false;
};

} // namespace

int QtMessageBoxService::Show(const std::string& text, const std::string& caption, unsigned flags) {
    QMessageBox box;
    box.setWindowTitle(ToQString(caption));
    box.setText(ToQString(text));
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton escape = QMessageBox::Ok;
    switch (flags & 0x0F) {
    case MB_OKCANCEL:
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    case MB_YESNOCANCEL:
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    case MB_YESNO:
        buttons = QMessageBox::Yes | QMessageBox::No;
        escape = QMessageBox::No;
        break;
    default:
        buttons = QMessageBox::Ok;
        break;
    }
    box.setStandardButtons(buttons);
    box.setEscapeButton(escape);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

namespace {

// "Text|*.a;*.b|Other|*.*" -> {"Text (*.a *.b)", "Other (*.*)"}; a description
// that names its patterns already keeps them.
QStringList NameFilters(const std::string& filter) {
    QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString text = parts[i];
        if (!text.contains(QLatin1Char('('))) text += QStringLiteral(" (") + patterns + QLatin1Char(')');
        out << text;
    }
    return out;
}

std::optional<std::string> RunFileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(NameFilters(request.filter));
    dialog.setDefaultSuffix(ToQString(request.defaultExtension));
    if (!request.initialDir.empty()) dialog.setDirectory(PathToQString(request.initialDir));
    if (!request.fileName.empty()) dialog.selectFile(PathToQString(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return PathFromQString(dialog.selectedFiles().front());
}

} // namespace

std::optional<std::string> QtFileDialogService::OpenFileName(const FileDialogRequest& request) {
    return RunFileDialog(request, false);
}

std::optional<std::string> QtFileDialogService::SaveFileName(const FileDialogRequest& request) {
    return RunFileDialog(request, true);
}

std::string QtFileDialogService::DocumentsFolder() {
    return PathFromQString(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

std::unique_ptr<Timer> QtTimerService::CreateTimer(std::function<void()> onTimeout) {
    return std::make_unique<QtTimer>(std::move(onTimeout));
}

Rect QtScreenService::WorkArea() {
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return {0, 0, 1024, 768};
    QRect r = s->availableGeometry();
    return {r.left(), r.top(), r.width(), r.height()};
}

Rect QtScreenService::PrimaryScreen() {
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return {0, 0, 1024, 768};
    QRect r = s->geometry();
    return {r.left(), r.top(), r.width(), r.height()};
}

void QtHelpViewer::ShowContextPopup(int32_t) {
    ShowFinder();
}

void QtHelpViewer::ShowFinder() {
    if (!path_.empty()) QDesktopServices::openUrl(QUrl::fromLocalFile(PathToQString(path_)));
}

bool QtKeyState::ShiftDown() {
    return QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
}

void QtClipboard::SetText(const std::string& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(ToQString(text));
}

void QtFatalHandler(const std::string& text) {
    if (QApplication::instance()) {
        QMessageBox::critical(nullptr, PathToQString(ProgramFileName()), ToQString(text));
    } else {
        std::fprintf(stderr, "%s: %s\n", ProgramFileName().c_str(), text.c_str());
    }
    std::_Exit(3);
}

QtServices::QtServices() : keysBefore_(&KeyState()) {
    SetMessageBoxes(&boxes_);
    SetFileDialogs(&dialogs_);
    SetTimers(&timers_);
    SetScreen(&screen_);
    SetHelpViewer(&help_);
    SetClipboard(&clipboard_);
    SetPrinter(&printer_);
    SetKeyState(&keys_);
    SetFatalHandler(QtFatalHandler);
}

QtServices::~QtServices() {
    SetMessageBoxes(nullptr);
    SetFileDialogs(nullptr);
    SetTimers(nullptr);
    SetScreen(nullptr);
    SetHelpViewer(nullptr);
    SetClipboard(nullptr);
    SetPrinter(nullptr);
    // A reading of the keyboard installed before (a test program's) comes back.
    SetKeyState(keysBefore_);
    SetFatalHandler(nullptr);
}

} // namespace plat
