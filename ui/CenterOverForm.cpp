#include "ui/CenterOverForm.h"

#include "foundation/Placement.h"

#include <QRect>
#include <QWidget>

void CenterOverForm(QWidget& window, const QWidget* form) {
    const QSize size = window.frameGeometry().size();
    plat::Rect place{0, 0, size.width(), size.height()};
    if (form) {
        const QRect main = form->frameGeometry();
        CenterOnForm(place, {main.x(), main.y(), main.width(), main.height()});
    } else {
        ClampToWorkArea(place);
    }
    window.move(place.left, place.top);
}
