#include "ui/AppIcons.h"

#include <QPainter>
#include <QPixmap>

#include <utility>

namespace {

constexpr int kSize = 16;

template <typename Draw> QIcon Picture(Draw draw) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    draw(p);
    p.end();
    return QIcon(pixmap);
}

QIcon Page(QColor mark) {
    return Picture([mark](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(3, 1, 10, 13);
        p.setPen(mark);
        for (int y = 4; y <= 11; y += 3)
            p.drawLine(5, y, 11, y);
    });
}

QIcon Letter(QColor fill, const QString& text) {
    return Picture([fill, text](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(fill);
        p.drawRect(0, 2, 15, 11);
        QFont font = p.font();
        font.setPixelSize(9);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 2, 16, 12), Qt::AlignCenter, text);
    });
}

QIcon Radio() {
    return Picture([](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(QColor(60, 60, 70));
        p.drawRect(4, 4, 8, 11);
        p.drawLine(10, 4, 10, 0);
        p.setBrush(QColor(140, 200, 140));
        p.drawRect(5, 6, 6, 3);
    });
}

QIcon Folder() {
    return Picture([](QPainter& p) {
        p.setPen(QColor(120, 90, 0));
        p.setBrush(QColor(240, 200, 80));
        p.drawRect(1, 4, 14, 10);
        p.drawRect(1, 2, 6, 2);
    });
}

// A bank: its kind by colour and letter, a used bank filled, an empty one
// an outline only.
QIcon Bank(QColor kind, const QString& letter, bool used) {
    return Picture([kind, letter, used](QPainter& p) {
        p.setPen(kind.darker(150));
        p.setBrush(used ? kind : QColor(Qt::white));
        p.drawRect(1, 1, 13, 13);
        QFont font = p.font();
        font.setPixelSize(11);
        font.setBold(true);
        p.setFont(font);
        p.setPen(used ? QColor(Qt::white) : kind);
        p.drawText(QRect(1, 1, 14, 14), Qt::AlignCenter, letter);
    });
}

QIcon Mark(QColor fill) {
    return Picture([fill](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(fill);
        p.drawEllipse(QRect(8, 8, 7, 7));
    });
}

QIcon Arrow(bool toRadio) {
    return Picture([toRadio](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(QColor(60, 60, 70));
        p.drawRect(toRadio ? 10 : 1, 3, 5, 10);
        p.setBrush(toRadio ? QColor(200, 60, 40) : QColor(40, 150, 60));
        const QPolygon arrow =
            toRadio ? QPolygon({{1, 6}, {6, 6}, {6, 3}, {9, 8}, {6, 13}, {6, 10}, {1, 10}})
                    : QPolygon({{15, 6}, {10, 6}, {10, 3}, {7, 8}, {10, 13}, {10, 10}, {15, 10}});
        p.drawPolygon(arrow);
    });
}

} // namespace

ImageList MakeTreeImageList() {
    ImageList list;
    list << Radio() << Folder() << Page(Qt::darkGray) << Page(Qt::darkBlue);
    // Images 4 to 9: conventional, SmarTrunk and LTR banks, each empty then used.
    const std::pair<QColor, QString> kinds[] = {{QColor(40, 90, 200), QStringLiteral("C")},
                                                {QColor(30, 140, 60), QStringLiteral("S")},
                                                {QColor(210, 110, 0), QStringLiteral("L")}};
    for (const auto& [colour, letter] : kinds)
        list << Bank(colour, letter, false) << Bank(colour, letter, true);
    list << Mark(QColor(250, 200, 0)) << Mark(QColor(220, 30, 30));
    return list;
}

ImageList MakeToolBarImageList() {
    ImageList list;
    list << Page(Qt::white) << Folder() << Letter(QColor(40, 90, 200), QStringLiteral("S"));
    for (int port = 1; port <= 4; ++port)
        list << Letter(QColor(90, 90, 90), QString::number(port));
    list << Arrow(false) << Arrow(true) << Letter(QColor(40, 150, 60), QStringLiteral("i"));
    list << Letter(QColor(120, 60, 160), QStringLiteral("P"))
         << Letter(QColor(200, 120, 0), QStringLiteral("F"))
         << Letter(QColor(0, 130, 130), QStringLiteral("="));
    list << Letter(QColor(170, 40, 40), QStringLiteral("A"));
    return list;
}
