#include "ui/cuiFText.h"

#include "cells/CellEngine.h"
#include "cells/TextCell.h"
#include "cells/TextEscape.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "platform/QtText.h"
#include "ui/QtCellCanvas.h"
#include "ui/QtConvert.h"
#include "ui/cuiGrid.h"
#include "ui/cuiSheet.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>
#include <QWidget>

#include <cctype>
#include <string_view>

namespace {

constexpr int kBorder = 5;
constexpr int kBevel = 2;
constexpr int kButtonGap = 8;
constexpr int kPreviewPerLine = 12;
constexpr int kPreviewLines = 2;
// Of the palette's rows, this share is in view at once.
constexpr int kPaletteShownRows = 5;
constexpr int kPaletteRows = 15;
constexpr int32_t kKeyBackspace = 8;
constexpr int32_t kKeySpace = 32;
constexpr int32_t kKeyEsc = 27;

QFrame* Panel(QWidget* parent, int border) {
    auto* panel = new QFrame(parent);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(border, border, border, border);
    layout->setSpacing(0);
    return panel;
}

// How many bytes an escaped text stands for, an escape still being typed at
// its end ("%" or "%4") counted as the one byte it is becoming.
size_t TypedBytes(const std::string& text) {
    size_t cut = text.size();
    if (cut >= 1 && text[cut - 1] == '%' && (cut < 2 || text[cut - 2] != '%'))
        cut -= 1;
    else if (cut >= 2 && text[cut - 2] == '%' && std::isxdigit(static_cast<unsigned char>(text[cut - 1])))
        cut -= 2;
    return UnescapeText(std::string_view(text).substr(0, cut)).size() + (cut < text.size() ? 1 : 0);
}

// The edit box takes no character past the field's width: what the radio
// cannot hold is refused as it is typed, never cut off later.
class FieldWidthValidator : public QValidator {
public:
    FieldWidthValidator(size_t width, QObject* parent) : QValidator(parent), width_(width) {}
    State validate(QString& input, int&) const override {
        return TypedBytes(plat::FromQString(input)) <= width_ ? Acceptable : Invalid;
    }

private:
    size_t width_;
};

const FontDesc* CellFontOf(const cmcCellObj* cell) {
    if (!cell) return nullptr;
    if (cell->font) return cell->font.get();
    return cell->parent && cell->parent->font ? cell->parent->font.get() : nullptr;
}

} // namespace

cuiFText::cuiFText(const CellEngine& engine, const cmcCellCapsule& request, cmcGTex& texts,
                   const std::string& bytes, bool selectAll, int32_t fieldWidth)
    : PopupEditor(engine, request), texts_(texts), fieldWidth_(fieldWidth), openedOnField_(selectAll) {
    auto* formLayout = new QVBoxLayout(form_);
    formLayout->setContentsMargins(0, 0, 0, 0);
    auto* outer = Panel(form_, 0);
    outer->setFrameStyle(QFrame::Panel | QFrame::Raised);
    outer->setLineWidth(kBevel);
    outer->layout()->setContentsMargins(kBevel, kBevel, kBevel, kBevel);
    formLayout->addWidget(outer);

    editPanel_ = Panel(outer, kBorder);
    edit_ = new QLineEdit(editPanel_);
    edit_->setMaxLength(kMaxChars);
    if (fieldWidth_ > 0) edit_->setValidator(new FieldWidthValidator(static_cast<size_t>(fieldWidth_), edit_));
    if (const FontDesc* font = CellFontOf(request.cell)) edit_->setFont(ToQFont(*font, edit_->font()));
    editPanel_->layout()->addWidget(edit_);
    const int fontHeight = QFontMetrics(edit_->font()).height();
    const int editHeight = fontHeight * 3 / 2 + 2 * kBorder;
    edit_->setFixedHeight(fontHeight * 3 / 2);
    editPanel_->setFixedHeight(editHeight);
    outer->layout()->addWidget(editPanel_);

    previewPanel_ = Panel(outer, kBorder);
    preview_ = new QWidget(previewPanel_);
    preview_->installEventFilter(this);
    previewPanel_->layout()->addWidget(preview_);
    previewPanel_->setFixedHeight(2 * editHeight + 2);
    outer->layout()->addWidget(previewPanel_);

    palettePanel_ = Panel(outer, kBorder);
    static_cast<QVBoxLayout*>(outer->layout())->addWidget(palettePanel_, 1);

    auto* buttons = new QFrame(outer);
    auto* buttonLayout = new QHBoxLayout(buttons);
    buttonLayout->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    buttonLayout->setSpacing(kButtonGap);
    buttonLayout->addStretch(1);
    ok_ = new QPushButton(plat::ToQString(texts_.GetTextLine("GI_AppInd_Button_OkCancel", 0)), buttons);
    cancel_ = new QPushButton(plat::ToQString(texts_.GetTextLine("GI_AppInd_Button_OkCancel", 1)), buttons);
    ok_->setDefault(true);
    ok_->setFocusPolicy(Qt::NoFocus);
    cancel_->setFocusPolicy(Qt::NoFocus);
    buttonLayout->addWidget(ok_);
    buttonLayout->addWidget(cancel_);
    outer->layout()->addWidget(buttons);

    bytes_ = bytes;
    edit_->setText(plat::ToQString(EscapeText(bytes_)));
    untouched_ = plat::FromQString(edit_->text());
    bytes_ = UnescapeText(untouched_);
    if (selectAll)
        edit_->selectAll();
    else
        edit_->setCursorPosition(static_cast<int>(edit_->text().size()));
    QObject::connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        bytes_ = UnescapeText(plat::FromQString(text));
        if (preview_) preview_->update();
    });
    edit_->installEventFilter(this);

    palette_ = std::make_unique<cuiSheet>(request_.Engine(), palettePanel_, &request_.Request(), 0, 0, texts_,
                                          "GI_Sheet_Sel_Text", request_.Images());
    palette_->SetOwnerCallback(
        [this](cmcCellCapsule& cellRequest, int32_t edit) { return CellCallback(cellRequest, edit); });
    palette_->Build();
    palette_->Grid()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    palette_->Grid()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const QSize full = FullSheetPanelSize(*palette_, true);
    palette_->SheetPanel()->setFixedSize(full.width(), full.height() * kPaletteShownRows / kPaletteRows);

    QObject::connect(ok_, &QPushButton::clicked, this, [this] { Commit(); });
    QObject::connect(cancel_, &QPushButton::clicked, this, [this] { Cancel(); });
    Show(request, edit_);
}

cuiFText::~cuiFText() {
    StopListening();
    palette_.reset();
}

bool cuiFText::eventFilter(QObject* watched, QEvent* event) {
    if (watched == preview_ && event->type() == QEvent::Paint) {
        PaintPreview();
        return true;
    } else if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Commit();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            Cancel();
            return true;
        }
    }
    return PopupEditor::eventFilter(watched, event);
}

void cuiFText::PaintPreview() {
    QPainter painter(preview_);
    const int w = preview_->width();
    const int h = preview_->height();
    painter.fillRect(preview_->rect(), Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, w - 1, h - 1);
    QtCellCanvas canvas(painter, preview_->palette(), preview_->font());
    canvas.SetFontColor(0x000000);
    canvas.SetBrushColor(0x000000);
    const CellRect rect{1, 2, w - 2, h - 2};
    cmcCellCapsule paint;
    paint.canvas = &canvas;
    paint.cellRect = &rect;
    PaintTextCell(paint, bytes_, fieldWidth_, kPreviewPerLine, kPreviewLines, false);
}

int32_t cuiFText::CellCallback(cmcCellCapsule& request, int32_t edit) {
    const CellEngine& engine = request_.Engine();
    const cmcCellObj* cell = request.cell;
    if (cell && cell->cellId == engine.Vocabulary().CellIndex("Flex0")) {
        const int32_t c = cell->index;
        const int32_t key = request.key;
        if (key == kKeySpace || key == cmcCellCapsule::kKeyMouseChoice) {
            InsertChar(static_cast<uint8_t>(c));
            if (key == cmcCellCapsule::kKeyMouseChoice && edit_) edit_->setFocus();
        } else if (key == cmcCellCapsule::kKeyEnter) {
            Commit();
        } else if (key == kKeyBackspace || key == kKeyEsc) {
            if (edit_) edit_->setFocus();
        } else if (key > 0 && key <= 255 && IsTextChar(key)) {
            InsertChar(static_cast<uint8_t>(key));
            if (edit_) edit_->setFocus();
        }
        request.key = 0;
        request.displayText.clear();
        PaintTextCell(request, std::string(1, static_cast<char>(c)), 1, kPreviewPerLine, 1, false);
        return 0;
    }
    const cmcCellObj* opener = request_.Request().cell;
    if (cell && opener && cell->cellId == opener->cellId) return 0;
    return engine.Execute(request, edit);
}

void cuiFText::InsertChar(uint8_t c) {
    if (!edit_) return;
    const QString text = plat::ToQString(EscapeText(std::string(1, static_cast<char>(c))));
    // insert() takes the place of the selection and leaves the caret after the text.
    edit_->insert(text);
}

// Opened on the field's own text and left as it was, the text stores
// nothing: the text form ends at a byte 0 to 15, and storing it back would
// lose that byte and every byte after it.
void cuiFText::Store() {
    const std::string text = edit_ ? plat::FromQString(edit_->text()) : untouched_;
    if (!(openedOnField_ && text == untouched_)) request_.Answer(text);
}
