#pragma once
#include "ui/cuiMain.h"

#include <QMainWindow>

// The main form. It takes its caption, font and bounds, draws the pictures of
// the tree and the tool bar, and hands over to the application manager, which
// builds the window's parts inside it.
class TForm1 : public QMainWindow {
public:
    static constexpr int kWorkAreaMargin = 16;
    static constexpr int kMinWidth = 400;
    static constexpr int kMinHeight = 200;

    explicit TForm1(cuiMain& manager, QWidget* parent = nullptr);
    ~TForm1() override;

    const ImageList& TreeImages() const { return treeImages_; }
    const ImageList& ToolBarImages() const { return toolBarImages_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    cuiMain& manager_;
    ImageList treeImages_;
    ImageList toolBarImages_;
};
