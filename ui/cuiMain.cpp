#include "ui/cuiMain.h"

#include "app/Document.h"
#include "cells/CellEngine.h"
#include "cells/Segchar.h"
#include "cells/cmcCellCapsule.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/cmcTask.h"
#include "foundation/indEnviron.h"
#include "platform/Fatal.h"
#include "platform/MessageBox.h"
#include "platform/QtText.h"
#include "ui/AsciiCase.h"
#include "ui/CloneProgressWindow.h"
#include "ui/ComPortDialog.h"
#include "ui/ProgramPopupOpener.h"
#include "ui/QtConvert.h"
#include "ui/SheetDefinition.h"
#include "ui/cuiDebugWin.h"
#include "ui/cuiEeDebugWin.h"
#include "ui/cuiGrid.h"
#include "ui/cuiInformation.h"
#include "ui/cuiMenu.h"
#include "ui/cuiSheet.h"
#include "ui/cuiToolBar.h"
#include "ui/iuiRptSetWin.h"
#include "ui/iuiSh_ChBank.h"
#include "ui/iuiSh_Common.h"
#include "ui/iuiSh_Mch.h"
#include "ui/iuiTree.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

constexpr char kUntitled[] = "Untitled";
constexpr char kMainMenuKey[] = "GI_Menu_Main";
constexpr char kMainToolBarKey[] = "GI_ToolBar_Main";
constexpr char kTreeKey[] = "GI_Tree_Main";
constexpr char kModelTreeKey[] = "GI_AppInd_ModelTree";
constexpr char kTreeChangeDelayKey[] = "GI_Sys_TreeChangeDelay";
constexpr char kWarningCheckListKey[] = "GI_WarningCheckList";
constexpr int32_t kBankCount = 128;
// The sheet of the information window.
constexpr char kCloneInfoSheet[] = "GI_Sheet_CloneInfo";

std::string NamePart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

cuiMain::cuiMain(Document& document)
    : document_(document), segments_(std::make_unique<Segchar>(*gGTex)),
      popups_(std::make_unique<ProgramPopupOpener>()),
      printJob_(
          document.Profile(),
          [this](QWidget* parent, const std::string& definition) { return CreateSheet(parent, definition); },
          [this](int32_t n) -> std::optional<const cmcCellObj*> {
              QTreeWidgetItem* node = tree_ ? tree_->Node(n) : nullptr;
              if (!node) return std::nullopt;
              return cuiTree::CellOf(node);
          }) {
    SetProgramClipboard(&clipboard_);
    task_ = new cmcTask;
    task_->SetHandler(&cuiMain::OnTaskThunk, this);
    gEvMan->AddListener(&cuiMain::OnEventThunk, this);
    document_.SetWindow(this);
    SetWindowCommands(this);
}

cuiMain::~cuiMain() {
    if (document_.Window() == this) document_.SetWindow(nullptr);
    if (&InstalledWindow() == this) SetWindowCommands(nullptr);
    delete repeaterWindow_.data();
    // The progress window belongs to this window, though the document's clone manager shows it.
    if (progress_ && document_.CloneManager().ProgressView() == progress_)
        document_.CloneManager().SetProgressView(nullptr);
    cmcTask::Dispose(task_);
    gEvMan->RemoveListener(&cuiMain::OnEventThunk, this);
    // The window's parts use the clipboard and the layouts: they go first.
    sheet_.reset();
    tree_.reset();
    tools_.reset();
    menu_.reset();
    SetProgramClipboard(nullptr);
}

// --- the window ------------------------------------------------------------

void cuiMain::CreateWindow(QMainWindow* form, const ImageList* treeImages, const ImageList* toolBarImages) {
    form_ = form;
    treeImages_ = treeImages;
    toolBarImages_ = toolBarImages;

    document_.LoadStartupData();

    const CellEngine& engine = InstalledCellEngine();
    form->menuBar()->setNativeMenuBar(false);
    menu_ = CreateMenu(engine, form->menuBar(), kMainMenuKey);
    menu_->SetImages(toolBarImages);
    menu_->Build();

    toolBar_ = new QToolBar(form);
    toolBar_->setObjectName(QString::fromLatin1(kMainToolBarKey));
    toolBar_->setMovable(false);
    form->addToolBar(toolBar_);
    tools_ = std::make_unique<cuiToolBar>(engine, toolBar_, *gGTex, kMainToolBarKey, toolBarImages);
    tools_->Build();
    toolBar_->addWidget(tools_->Bar());
    toolBar_->setVisible(gEnviron->ToolbarVisible != 0);
    gEvMan->Send(evRefreshMenusAndToolBar);

    splitter_ = new QSplitter(Qt::Horizontal, form);
    treePanel_ = new QFrame(splitter_);
    treePanel_->setObjectName(QStringLiteral("TreePanel"));
    treePanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    treePanel_->setLineWidth(2);
    treePanel_->setMinimumWidth(kSplitterMinSize);
    sheetPanel_ = new QFrame(splitter_);
    sheetPanel_->setObjectName(QStringLiteral("SheetPanel"));
    sheetPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    sheetPanel_->setLineWidth(2);
    splitter_->addWidget(treePanel_);
    splitter_->addWidget(sheetPanel_);
    splitter_->setHandleWidth(3);
    splitter_->setChildrenCollapsible(false);
    splitter_->setOpaqueResize(true);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    form->setCentralWidget(splitter_);

    BuildTree();

    const int treeWidth = std::max<int>(gEnviron->SplitterV, kSplitterMinSize);
    splitter_->setSizes({treeWidth, std::max(form->width() - treeWidth, kSplitterMinSize)});

    statusBar_ = form->statusBar();
    statusBar_->setSizeGripEnabled(false);
    messagePanel_ = new QLabel(statusBar_);
    messagePanel_->setObjectName(QStringLiteral("MessagePanel"));
    messagePanel_->setMinimumWidth(100);
    messagePanel_->setAutoFillBackground(true);
    statusBar_->addWidget(messagePanel_, 1);
    auto* lastPanel = new QLabel(statusBar_);
    lastPanel->setFixedWidth(statusBar_->sizeHint().height());
    statusBar_->addWidget(lastPanel, 0);
    statusPanels_ = 2;
    SetStatusMessage(messageTextColor_, messageBackColor_, messageText_);

    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, form,
                     [this](Qt::ApplicationState state) { inactive_ = state != Qt::ApplicationActive; });

    if (document_.Capacity() < Document::kImageMap)
        plat::Fatal("Self Check Error.\nEEPROM Map is too large.");

    auto progress = std::make_unique<CloneProgressWindow>(form);
    // A transfer whose data closed the sheet gives the keyboard to the sheet opened after it.
    progress->SetFocusFallback(
        [this]() -> QWidget* { return sheet_ && focusGrid_ ? sheet_->Grid() : nullptr; });
    progress_ = progress.get();
    document_.CloneManager().SetProgressView(std::move(progress));

    task_->SetInterval(kTaskIntervalMs);
    form->show();
}

void cuiMain::BuildTree() {
    if (!treePanel_) return;
    tree_.reset();
    tree_ = CreateTree(treePanel_, kTreeKey);
    QTreeWidget* view = tree_->View();
    view->hide();
    tree_->Build();
    tree_->SetExpandHandler([this] { document_.CheckWarnings(nullptr, nullptr); });
    tree_->SetChangeHandler(std::atoi(gGTex->GetText(kTreeChangeDelayKey).c_str()),
                            [this] { OnTreeChange(); });
    // The first node names the model the tree was built for.
    if (QTreeWidgetItem* first = tree_->Node(0))
        first->setText(0, first->text(0) +
                              plat::ToQString(gGTex->GetTextLine(kModelTreeKey, gEnviron->ModelType)));
    document_.CheckWarnings(nullptr, nullptr);
    CloseSheet();
    view->show();
    gEvMan->Send(evDataReloaded);
    if (QTreeWidgetItem* first = tree_->Node(0)) tree_->View()->setCurrentItem(first);
}

void cuiMain::OnTreeChange() {
    cmcCellObj* cell = tree_ ? tree_->GetSelectedCell() : nullptr;
    if (!cell) return;
    if (sheet_ && cell->argument && *cell->argument == sheet_->GetDefinition()) return;
    InstalledCellEngine().ExecuteCell(cell, cmcCellCapsule::kKeyEnter);
}

void cuiMain::RemoveTreeNodes(int kind) {
    if (!tree_ || kind < 0 || kind > 7) return;
    const auto carries = [kind](const cmcCellObj* cell) {
        if (!cell) return false;
        if (kind < 6) return (cell->flags & (cmcCellObj::kFlag0 << kind)) != 0;
        return (cell->flags2 & (kind == 6 ? cmcCellObj::kFlag6 : cmcCellObj::kFlag7)) != 0;
    };
    for (bool removed = true; removed;) {
        removed = false;
        for (QTreeWidgetItemIterator it(tree_->View()); *it; ++it) {
            if (!carries(cuiTree::CellOf(*it))) continue;
            QTreeWidgetItem* node = *it;
            tree_->DeleteChildren(node);
            delete node;
            removed = true;
            break;
        }
    }
    tree_->DeleteChildren(nullptr);
}

// --- sheets ------------------------------------------------------------------

std::unique_ptr<cuiMenu> cuiMain::CreateMenu(const CellEngine& engine, QWidget* root,
                                             const std::string& key) {
    return std::make_unique<cuiMenu>(engine, root, *gGTex, key);
}

std::unique_ptr<iuiTree> cuiMain::CreateTree(QWidget* parent, const std::string& key) {
    return std::make_unique<iuiTree>(parent, *gGTex, key, treeImages_, document_.WorkingImage());
}

std::unique_ptr<cuiSheet> cuiMain::CreateSheet(QWidget* parent, const std::string& definition) {
    const SheetDefinition d = SheetDefinition::Split(definition);
    const CellEngine& engine = InstalledCellEngine();
    std::unique_ptr<cuiSheet> sheet;
    if (d.type == "St_ChBank")
        sheet = std::make_unique<iuiSh_ChBank>(engine, parent, nullptr, 0, 0, *gGTex, d.name, treeImages_);
    else if (d.type == "St_Common")
        sheet = std::make_unique<iuiSh_Common>(engine, parent, nullptr, 0, 0, *gGTex, d.name, treeImages_);
    else if (d.params.starts_with('R'))
        sheet = std::make_unique<iuiSh_Mch>(engine, parent, nullptr, 0, 0, *gGTex, d.name, treeImages_);
    else
        sheet = std::make_unique<cuiSheet>(engine, parent, nullptr, 0, 0, *gGTex, d.name, treeImages_);
    sheet->SetDefinition(definition);
    sheet->SetParams(d.params);
    return sheet;
}

void cuiMain::OpenSheet(const std::string& definition) {
    CloseSheet();
    if (!sheetPanel_) return;
    sheet_ = CreateSheet(sheetPanel_, definition);
    if (const std::optional<SheetPosition> at = FindSheetPosition(SheetDefinition::Split(definition).name))
        sheet_->SetPosition(at->col, at->row, at->leftCol, at->topRow);
    sheet_->Build();
    if (focusGrid_ && sheet_->Grid() && sheet_->Grid()->isEnabled())
        sheet_->Grid()->setFocus();
    else if (tree_)
        tree_->View()->setFocus();
    // The sheet announces itself only while its grid has the keyboard: Print
    // in the menu and on the tool bar follow the open sheet at once.
    if (gEvMan) gEvMan->Send(evRefreshMenusAndToolBar);
}

std::optional<cuiMain::SheetPosition> cuiMain::FindSheetPosition(const std::string& name) const {
    for (const SheetPosition& p : history_)
        if (p.name == name) return p;
    return std::nullopt;
}

void cuiMain::CloseSheet() {
    reopen_ = true;
    if (!sheet_) return;
    if (cuiGrid* grid = sheet_->Grid(); grid && grid->isVisible()) {
        SheetPosition p{sheet_->Name(), sheet_->GetDefinition(), grid->Col(),
                        grid->Row(),    grid->LeftCol(),         grid->TopRow()};
        std::erase_if(history_, [&](const SheetPosition& old) { return old.name == p.name; });
        history_.insert(history_.begin(), std::move(p));
        const QWidget* active = form_ ? QApplication::focusWidget() : nullptr;
        focusGrid_ = !tree_ || active != static_cast<QWidget*>(tree_->View());
    }
    Retire(std::move(sheet_));
    if (gEvMan) gEvMan->Send(evRefreshMenusAndToolBar);
}

void cuiMain::CloseSheetCmd() {
    CloseSheet();
}

void cuiMain::Retire(std::unique_ptr<cuiSheet> sheet) {
    if (!sheet) return;
    if (cuiGrid* grid = sheet->Grid()) grid->hide();
    if (QFrame* panel = sheet->SheetPanel()) panel->hide();
    if (QFrame* title = sheet->TitlePanel()) title->hide();
    // The sheet may be inside its own key, pick or menu command now: it goes
    // once the event loop has it back.
    sheet.release()->deleteLater();
}

void cuiMain::Print(int32_t allSheets) {
    if (printJob_.IsActive()) return;
    document_.EndEdit();
    if (!sheet_) return;
    // The sheet on screen now is the one printed, whatever the tree or the
    // screen show by the time the job reaches it.
    printJob_.Start(form_, sheet_->GetDefinition(), allSheets != 0);
}

bool cuiMain::IsOpenSheetPrintable() const {
    return sheet_ && sheet_->IsPrintable() != 0;
}

void cuiMain::OnFormShown() {
    UpdateTitle();
}

bool cuiMain::CloseQuery() {
    if (form_ && !form_->isEnabled()) return false;
    if (document_.ConfirmSave(false) == plat::IDCANCEL) return false;
    if (form_) {
        const QRect r = form_->normalGeometry();
        gEnviron->WindowLeft = r.left();
        gEnviron->WindowTop = r.top();
        gEnviron->WindowWidth = r.width();
        gEnviron->WindowHeight = r.height();
    }
    if (treePanel_) gEnviron->SplitterV = treePanel_->width();
    return true;
}

void cuiMain::OnFormClosed() {
    task_->SetInterval(-1);
    CloseSheet();
    tree_.reset();
    tools_.reset();
    menu_.reset();
    form_ = nullptr;
}

void cuiMain::UpdateTitle() {
    if (!form_) return;
    // The file's name keeps the file system's encoding; the title is a text of the program's.
    const QString name = document_.IsUntitled() ? plat::ToQString(kUntitled)
                                                : plat::PathToQString(NamePart(document_.GetFileName()));
    form_->setWindowTitle(name + plat::ToQString(" - " + gGTex->GetText(document_.Profile().titleKey)));
}

int32_t cuiMain::MainMenuSubItemCount(int32_t commandId) const {
    return menu_ ? menu_->SubItemCount(commandId) : -1;
}

intptr_t cuiMain::MainMenuContext() const {
    // The menu-building events name the menu that lends its items, not its bar.
    return menu_ ? cuiMenu::BusId(menu_.get()) : 0;
}

void cuiMain::CloseMainForm() {
    if (form_) form_->close();
}

void cuiMain::ToggleToolBar() {
    gEnviron->ToolbarVisible = gEnviron->ToolbarVisible ? 0 : 1;
    if (toolBar_) toolBar_->setVisible(gEnviron->ToolbarVisible != 0);
}

void cuiMain::InsertStatusPanel(QLabel* panel) {
    if (!statusBar_) return;
    statusBar_->insertWidget(statusPanels_ - 1, panel, 0);
    ++statusPanels_;
}

void cuiMain::ShowMakerPanel(const std::string& text) {
    if (!statusBar_ || makerPanel_) return;
    makerPanel_ = new QLabel(plat::ToQString(text), statusBar_);
    makerPanel_->setObjectName(QStringLiteral("MakerPanel"));
    makerPanel_->setAlignment(Qt::AlignCenter);
    makerPanel_->setAutoFillBackground(true);
    QPalette palette = makerPanel_->palette();
    palette.setColor(QPalette::Window, QColor(128, 0, 0));
    palette.setColor(QPalette::WindowText, QColor(255, 255, 255));
    makerPanel_->setPalette(palette);
    const QFontMetrics metrics(statusBar_->font());
    makerPanel_->setFixedWidth(metrics.horizontalAdvance(makerPanel_->text()) +
                               metrics.horizontalAdvance(QStringLiteral("XX")));
    InsertStatusPanel(makerPanel_);
}

void cuiMain::ShowBusy(bool busy) {
    // Override cursors stack: every busy stretch ends with its own restore.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void cuiMain::SetStatusMessage(uint32_t textColor, uint32_t backColor, const std::string& text) {
    messageTextColor_ = textColor;
    messageBackColor_ = backColor;
    messageText_ = text;
    if (!messagePanel_) return;
    QPalette palette = messagePanel_->palette();
    palette.setColor(QPalette::WindowText, ToQColor(textColor, palette));
    palette.setColor(QPalette::Window, ToQColor(backColor, palette));
    messagePanel_->setPalette(palette);
    messagePanel_->setText(plat::ToQString(text));
}

// --- events and the periodic task -----------------------------------------

void cuiMain::OnEventThunk(void* user, const cmcEvent& ev) {
    static_cast<cuiMain*>(user)->OnEvent(ev);
}

void cuiMain::OnEvent(const cmcEvent& ev) {
    switch (ev.type) {
    case evRefreshMenusAndToolBar:
        gEvMan->Send(evUpdateMenus);
        gEvMan->Send(evUpdateToolBar);
        break;
    case evStatusText:
        SetStatusMessage(static_cast<uint32_t>(ev.p1), static_cast<uint32_t>(ev.p2), ev.Text());
        break;
    case evShowAbout:
        ShowAbout();
        break;
    case evOpenDebugWindow:
        new cuiDebugWin(form_);
        break;
    case evOpenImageDebugWindow:
        // Each window owns itself and goes when it is closed.
        new cuiEeDebugWin(InstalledCellEngine(), form_, gGTex->GetTextLine(RunningProfile().titleKey, 0),
                          *gGTex, "GI_Sheet_EeDebugWin", treeImages_);
        break;
    case evRunDebugComparison:
        ShowDebugComparison();
        break;
    case evTakeImageSnapshot:
        document_.TakeSnapshot();
        break;
    default:
        break;
    }
}

void cuiMain::OnTaskThunk(void* user, cmcTask*) {
    static_cast<cuiMain*>(user)->OnTick();
}

void cuiMain::OnTick() {
    // A tick that falls due inside a dialog the last one opened does nothing.
    if (inTick_) return;
    inTick_ = true;
    // Once after each close: a node that opens no sheet would otherwise run
    // its cell every tick, and each run puts the warning check off again.
    if (reopen_ && !sheet_ && form_ && form_->isVisible()) {
        reopen_ = false;
        if (tree_) {
            if (cmcCellObj* cell = tree_->GetSelectedCell())
                InstalledCellEngine().ExecuteCell(cell, cmcCellCapsule::kKeyEnter);
        } else if (!history_.empty()) {
            OpenSheet(history_.front().definition);
        }
    }
    inTick_ = false;
    if (warningDelay_ && warningDelay_->Remaining() == 0) {
        warningDelay_.reset();
        document_.CheckWarnings(nullptr, nullptr);
        gEvMan->Post(evRedrawImageDebug);
    }
    // A box the step shows must not let the next tick print under it.
    if (printJob_.IsActive() && !inTick_) {
        inTick_ = true;
        printJob_.Step();
        inTick_ = false;
    }
}

void cuiMain::ScheduleWarningCheck() {
    if (!warningDelay_) warningDelay_.emplace();
    warningDelay_->Start(kWarningDelayMs);
}

void cuiMain::MarkWarnings(int* errors, int* warnings) {
    if (errors) *errors = 0;
    if (warnings) *warnings = 0;
    if (!tree_) return;
    std::vector<std::string> errorLinks;
    std::vector<std::string> warningLinks;
    const CellEngine& engine = InstalledCellEngine();
    const auto classify = [&](cmcCellObj& cell, int32_t bank) {
        cmcCellCapsule request;
        request.cell = &cell;
        request.texts = gGTex;
        request.bank = bank;
        engine.Execute(request, 0);
        const std::string link = AsciiLower(cell.argument.value_or(""));
        if (request.markFlags.error) {
            errorLinks.push_back(link);
            if (errors) ++*errors;
        } else if (request.markFlags.warning) {
            warningLinks.push_back(link);
            if (warnings) ++*warnings;
        }
    };
    for (int line = 0;; ++line) {
        const std::optional<std::string> text = gGTex->TryGetTextLine(kWarningCheckListKey, line);
        if (!text || text->starts_with('#')) break;
        cmcCellObj cell;
        cell.Parse(*text, nullptr, nullptr);
        classify(cell, 0);
    }
    const std::string sheet = document_.Profile().BankSheetName(ModelKeySuffix());
    for (int32_t bank = 0; bank < kBankCount; ++bank) {
        cmcCellObj cell;
        cell.Parse("{(%CL_Check_Mch:[St_ChBank]" + sheet + ",Bank " + std::to_string(bank) + ")}", nullptr,
                   nullptr);
        classify(cell, bank);
    }

    // Every top-level branch loses its old marks: a mended error must not keep
    // its mark under a later top-level node.
    QTreeWidget* view = tree_->View();
    for (int top = 0; top < view->topLevelItemCount(); ++top)
        tree_->ClearOverlays(view->topLevelItem(top));
    for (int top = view->topLevelItemCount() - 1; top >= 0; --top) {
        tree_->MarkOverlays(view->topLevelItem(top), warningLinks, cuiTree::kOverlayWarning);
        tree_->MarkOverlays(view->topLevelItem(top), errorLinks, cuiTree::kOverlayError);
    }
}

// --- About box and debug comparison ----------------------------------------

void cuiMain::ShowAbout() {
    if (!form_ || about_) return;
    auto* box = new QDialog(form_);
    about_ = box;
    box->setObjectName(QStringLiteral("AboutBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(plat::ToQString(gGTex->GetText(document_.Profile().aboutCaptionKey)));
    const QIcon icon = treeImages_ && !treeImages_->isEmpty() ? treeImages_->at(0) : QIcon();
    const int w = 32;
    const int h = 32;
    auto* picture = new QLabel(box);
    picture->setObjectName(QStringLiteral("AboutIcon"));
    picture->setPixmap(icon.pixmap(w, h));
    picture->setGeometry(w / 2, h / 2, w, h);
    auto* label =
        new QLabel(plat::ToQString(GetMultiLineText(*gGTex, document_.Profile().aboutLabelKey)), box);
    label->setObjectName(QStringLiteral("AboutLabel"));
    label->adjustSize();
    label->move(w / 2 + (w * 3) / 2, 0);
    auto* button = new QPushButton(plat::ToQString(gGTex->GetText("GI_App_About_Button")), box);
    button->setObjectName(QStringLiteral("AboutButton"));
    button->setDefault(true);
    button->setGeometry(label->geometry().right() + 1 + 2 * w, h / 4, (w * 5) / 2,
                        button->sizeHint().height());
    box->setFixedSize(button->geometry().right() + 1 + h / 4, label->geometry().bottom() + 1 + h / 2);
    box->move(form_->geometry().center() - QPoint(box->width() / 2, box->height() / 2));
    QObject::connect(button, &QPushButton::clicked, box, &QDialog::close);
    // Held as a plain widget: the box also goes while the form itself is
    // being destroyed, when it is no longer a main window.
    QPointer<QWidget> form = form_.data();
    QObject::connect(box, &QObject::destroyed, form_, [form] {
        if (!form) return;
        form->setEnabled(true);
        form->activateWindow();
    });
    // The box is modeless, but the form waits for it.
    form_->setEnabled(false);
    box->setEnabled(true);
    box->show();
}

void cuiMain::ShowDebugComparison() {
    const std::vector<std::string> lines = document_.CompareWithSnapshot();
    if (!form_) return;
    QDialog dialog(form_);
    dialog.setObjectName(QStringLiteral("DebugCompare"));
    dialog.setWindowTitle(QStringLiteral("Debug compare"));
    dialog.setWindowFlags(dialog.windowFlags() &
                          ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    if (treePanel_) dialog.setGeometry(QRect(treePanel_->mapToGlobal(QPoint(0, 0)), treePanel_->size()));
    auto* layout = new QVBoxLayout(&dialog);
    auto* memo = new QPlainTextEdit(&dialog);
    memo->setObjectName(QStringLiteral("DebugCompareMemo"));
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QStringList text;
    for (const std::string& line : lines)
        text << plat::ToQString(line);
    memo->setPlainText(text.join(QLatin1Char('\n')));
    layout->addWidget(memo);
    auto* close = new QPushButton(QStringLiteral("Close"), &dialog);
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
    debugMemo_ = memo;
    dialog.exec();
}

// --- the repeater-site window ---------------------------------------------------

void cuiMain::OpenRepeaterSettings(const cmcCellCapsule& request) {
    if (repeaterWindow_ || !form_) return;
    iuiRptSetWin::FileCommands files{[this](int32_t site) { return ImportRepeaterDialog(site); },
                                     [this](int32_t site) { return ExportRepeaterDialog(site); }};
    // The window owns itself and ends when it is closed.
    repeaterWindow_ =
        new iuiRptSetWin(InstalledCellEngine(), form_, gGTex->GetTextLine(RunningProfile().titleKey, 0),
                         *gGTex, kRepeaterSheet, treeImages_, request, std::move(files));
}

iuiRptSetWin* cuiMain::RepeaterWindow() const {
    return static_cast<iuiRptSetWin*>(repeaterWindow_.data());
}

int cuiMain::ImportRepeaterDialog(int32_t) {
    return 1;
}

int cuiMain::ExportRepeaterDialog(int32_t) {
    return 1;
}

// --- the clone link ------------------------------------------------------------

void cuiMain::SelectComPort() {
    ComPortDialog::Run(form_);
}

cuiInformation* cuiMain::Information() const {
    return static_cast<cuiInformation*>(information_.data());
}

void cuiMain::OpenCloneInformation() {
    // The window owns itself and ends when it is closed.
    information_ =
        new cuiInformation(InstalledCellEngine(), form_,
                           gGTex->GetTextLine(RunningProfile().infoCaptionKey, 0), *gGTex, kCloneInfoSheet);
}
