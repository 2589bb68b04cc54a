#pragma once
#include "ui/FocusReturn.h"
#include "ui/cuiSheet.h"

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <memory>
#include <string>

class CellEngine;
class cmcGTex;

// A small window showing a read-only sheet with an OK button, over its
// owner, which it disables while it is open. It owns itself: OK or closing
// the window ends it, and its owner is enabled and focused again.
class cuiInformation : public QObject {
public:
    cuiInformation(const CellEngine& engine, QWidget* owner, const std::string& caption, cmcGTex& texts,
                   const std::string& name, const cuiSheet::ImageList* images = nullptr);
    ~cuiInformation() override;
    cuiInformation(const cuiInformation&) = delete;
    cuiInformation& operator=(const cuiInformation&) = delete;

    QDialog* Form() const { return form_; }
    cuiSheet* Sheet() const { return sheet_.get(); }
    QPushButton* OkButton() const { return ok_; }

private:
    QPointer<QWidget> owner_;
    QPointer<QDialog> form_;
    QPointer<QPushButton> ok_;
    std::unique_ptr<cuiSheet> sheet_;
    // Where the owner's keyboard focus goes back to once the window closes.
    FocusReturn ownerFocus_;
};
