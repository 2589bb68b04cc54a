#include "ui/indMain.h"

#include "app/Document.h"
#include "platform/QtText.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

#include <algorithm>
#include <cctype>

namespace {

constexpr char kMakerSwitch[] = "/vorplex";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

void indMain::CreateWindow(QMainWindow* form, const ImageList* treeImages, const ImageList* toolBarImages) {
    cuiMain::CreateWindow(form, treeImages, toolBarImages);
    for (const std::string& argument : arguments_)
        if (Lower(argument) == kMakerSwitch) document_.EnterMakerMode();
}

void indMain::BuildTree() {
    cuiMain::BuildTree();
    // The model's caption goes on the tree's first node once the tree is built.
}

void indMain::ShowMakerPanel(const std::string& text) {
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
