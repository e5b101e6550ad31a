#include "app/icons.hpp"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <algorithm>
#include <functional>

namespace ondavia::gui {

namespace {

constexpr double kGrid = 24.0;  // every picture is drawn on a 24 x 24 grid
constexpr double kStroke = 1.5;

const QColor kInk(43, 58, 74);
const QColor kPaper(255, 255, 255);
const QColor kBlue(47, 111, 214);
const QColor kLightBlue(214, 228, 250);
const QColor kGreen(46, 158, 91);
const QColor kLightGreen(218, 240, 224);
const QColor kRed(214, 69, 65);
const QColor kAmber(242, 178, 51);
const QColor kLightAmber(252, 226, 160);

// One drawing's colours: the palette as it is, or in light greys for a
// disabled button (darker colours stay darker).
class Colours {
  public:
    explicit Colours(bool enabled) : enabled_(enabled) {}
    QColor operator()(const QColor& c) const {
        if (enabled_) return c;
        const int v = 150 + qGray(c.rgb()) * 95 / 255;
        return QColor(v, v, v, c.alpha());
    }

  private:
    bool enabled_;
};

// Sets the painter up for grid units in `target` (a centred square) and
// restores it afterwards.
class GridPainter {
  public:
    GridPainter(QPainter& p, const QRectF& target, bool enabled) : p_(p), c_(enabled) {
        p_.save();
        p_.setRenderHint(QPainter::Antialiasing, true);
        const double side = std::min(target.width(), target.height());
        p_.translate(target.center().x() - side / 2, target.center().y() - side / 2);
        p_.scale(side / kGrid, side / kGrid);
    }
    ~GridPainter() { p_.restore(); }
    GridPainter(const GridPainter&) = delete;
    GridPainter& operator=(const GridPainter&) = delete;

    QPainter& operator*() { return p_; }
    QPainter* operator->() { return &p_; }
    QColor C(const QColor& c) const { return c_(c); }

    // Outlined in ink over a fill.
    void Shape(const QPainterPath& path, const QColor& fill, double width = kStroke) {
        p_.setPen(Outline(kInk, width));
        p_.setBrush(C(fill));
        p_.drawPath(path);
    }
    void Polygon(const QPolygonF& polygon, const QColor& fill, double width = kStroke) {
        QPainterPath path;
        path.addPolygon(polygon);
        path.closeSubpath();
        Shape(path, fill, width);
    }
    void Rect(const QRectF& r, const QColor& fill, double radius = 0, double width = kStroke) {
        QPainterPath path;
        path.addRoundedRect(r, radius, radius);
        Shape(path, fill, width);
    }
    void Line(QPointF a, QPointF b, const QColor& colour, double width = kStroke) {
        p_.setPen(Outline(colour, width));
        p_.drawLine(a, b);
    }
    QPen Outline(const QColor& colour, double width) const {
        return QPen(C(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    }

  private:
    QPainter& p_;
    Colours c_;
};

// A triangle pointing left, its tip at tipX and its base at baseX, 12 units high.
QPolygonF LeftTriangle(double tipX, double baseX) {
    return QPolygonF({QPointF(baseX, 6), QPointF(baseX, 18), QPointF(tipX, 12)});
}

void DrawNavigation(GridPainter& g, NavigationPicture picture) {
    // The right-hand pictures are the left-hand ones mirrored.
    NavigationPicture left = picture;
    switch (picture) {
        case NavigationPicture::Right:
            left = NavigationPicture::Left;
            break;
        case NavigationPicture::Next:
            left = NavigationPicture::Previous;
            break;
        case NavigationPicture::RightEnd:
            left = NavigationPicture::LeftEnd;
            break;
        default:
            break;
    }
    if (left != picture) {
        g->translate(kGrid, 0);
        g->scale(-1, 1);
    }
    switch (left) {
        case NavigationPicture::LeftEnd:
            g.Rect(QRectF(4.5, 6, 2.5, 12), kBlue, 0.5);
            g.Polygon(LeftTriangle(9.5, 19), kBlue);
            break;
        case NavigationPicture::Previous:
            g.Polygon(LeftTriangle(4.5, 12), kBlue);
            g.Polygon(LeftTriangle(12, 19.5), kBlue);
            break;
        default:
            g.Polygon(LeftTriangle(8, 16), kBlue);
            break;
    }
}

void DrawChart(GridPainter& g) {
    g.Rect(QRectF(3, 3, 18, 18), kPaper, 2);
    const QRectF bars[] = {
        {6, 13, 2.5, 6}, {9.5, 10, 2.5, 9}, {13, 14, 2.5, 5}, {16.5, 8, 2.5, 11}};
    for (const QRectF& bar : bars) {
        g->setPen(Qt::NoPen);
        g->setBrush(g.C(kBlue));
        g->drawRect(bar);
    }
    g->setPen(g.Outline(kRed, kStroke));
    g->setBrush(Qt::NoBrush);
    g->drawPolyline(
        QPolygonF({QPointF(5.5, 11), QPointF(9.5, 6.5), QPointF(13.5, 10), QPointF(18.5, 5.5)}));
}

void DrawMap(GridPainter& g) {
    g.Polygon(QPolygonF({QPointF(2.5, 6), QPointF(8.5, 4), QPointF(15.5, 6), QPointF(21.5, 4),
                         QPointF(21.5, 18), QPointF(15.5, 20), QPointF(8.5, 18), QPointF(2.5, 20)}),
              kLightGreen);
    g.Line(QPointF(8.5, 4), QPointF(8.5, 18), kInk, 1);
    g.Line(QPointF(15.5, 6), QPointF(15.5, 20), kInk, 1);
    QPainterPath pin;
    pin.moveTo(12, 17);
    pin.cubicTo(7.5, 12, 8, 5, 12, 5);
    pin.cubicTo(16, 5, 16.5, 12, 12, 17);
    g.Shape(pin, kRed);
    g->setPen(Qt::NoPen);
    g->setBrush(g.C(kPaper));
    g->drawEllipse(QPointF(12, 9.5), 1.6, 1.6);
}

void DrawScreen(GridPainter& g) {
    g.Polygon(QPolygonF({QPointF(10, 16.5), QPointF(14, 16.5), QPointF(15, 20), QPointF(9, 20)}),
              kInk, 1);
    g.Line(QPointF(6.5, 20.5), QPointF(17.5, 20.5), kInk);
    g.Rect(QRectF(2.5, 3.5, 19, 13.5), kLightBlue, 1.5);
    g->setPen(Qt::NoPen);
    g->setBrush(g.C(kBlue));
    g->drawRect(QRectF(4.5, 5.5, 15, 9.5));
    g.Line(QPointF(6.5, 12.5), QPointF(11, 7.5), kPaper, 1.2);
}

void DrawSearch(GridPainter& g) {
    g.Line(QPointF(14.5, 14.5), QPointF(20.5, 20.5), kInk, 3.5);
    QPainterPath lens;
    lens.addEllipse(QPointF(10, 10), 6.5, 6.5);
    g.Shape(lens, kLightBlue);
    g->setPen(g.Outline(kPaper, 1.3));
    g->setBrush(Qt::NoBrush);
    g->drawArc(QRectF(6, 6, 8, 8), 100 * 16, 70 * 16);
}

void DrawExcel(GridPainter& g) {
    g.Rect(QRectF(3.5, 2.5, 17, 19), kPaper, 1);
    g->setPen(Qt::NoPen);
    g->setBrush(g.C(kGreen));
    g->drawRect(QRectF(4.25, 3.25, 15.5, 3.75));
    g->setBrush(g.C(kLightGreen));
    g->drawRect(QRectF(4.25, 7, 4, 13.75));
    for (double y : {11.0, 15.0})
        g.Line(QPointF(4.25, y), QPointF(19.75, y), kGreen, 1);
    for (double x : {8.25, 14.0})
        g.Line(QPointF(x, 7), QPointF(x, 20.75), kGreen, 1);
    g.Rect(QRectF(3.5, 2.5, 17, 19), Qt::transparent, 1);
}

void DrawSettings(GridPainter& g) {
    QPainterPath gear;
    gear.setFillRule(Qt::WindingFill);
    gear.addEllipse(QPointF(12, 12), 6.8, 6.8);
    for (int i = 0; i < 8; ++i) {
        QTransform t;
        t.translate(12, 12);
        t.rotate(i * 45.0);
        QPainterPath tooth;
        tooth.addRoundedRect(QRectF(-1.9, -9.8, 3.8, 5), 0.6, 0.6);
        gear.addPath(t.map(tooth));
    }
    QPainterPath hole;
    hole.addEllipse(QPointF(12, 12), 2.8, 2.8);
    g.Shape(gear.simplified().subtracted(hole), kBlue);
}

void DrawExit(GridPainter& g) {
    QPainterPath disc;
    disc.addEllipse(QPointF(12, 12), 9.5, 9.5);
    g.Shape(disc, kRed);
    g->setPen(g.Outline(kPaper, 2));
    g->setBrush(Qt::NoBrush);
    g->drawArc(QRectF(6.5, 6.5, 11, 11), 125 * 16, 290 * 16);
    g->drawLine(QPointF(12, 5), QPointF(12, 11.5));
}

void DrawFolder(GridPainter& g) {
    g.Polygon(QPolygonF({QPointF(2.5, 19.5), QPointF(2.5, 5), QPointF(9, 5), QPointF(11, 7.5),
                         QPointF(20, 7.5), QPointF(20, 19.5)}),
              kAmber);
    g.Polygon(
        QPolygonF({QPointF(2.5, 19.5), QPointF(5.5, 10.5), QPointF(22.5, 10.5), QPointF(20, 19.5)}),
        kLightAmber);
}

class PictureEngine : public QIconEngine {
  public:
    using Draw = std::function<void(QPainter&, const QRectF&, bool)>;
    explicit PictureEngine(Draw draw) : draw_(std::move(draw)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        draw_(*painter, rect, mode != QIcon::Disabled);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        QPixmap pm(size * scale);
        pm.setDevicePixelRatio(scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(), size), mode, state);
        return pm;
    }
    QIconEngine* clone() const override { return new PictureEngine(draw_); }
    QString key() const override { return QStringLiteral("ondavia-picture"); }

  private:
    Draw draw_;
};

}  // namespace

void PaintNavigationPicture(QPainter& painter, const QRectF& target, NavigationPicture picture,
                            bool enabled) {
    GridPainter g(painter, target, enabled);
    DrawNavigation(g, picture);
}

void PaintToolbarPicture(QPainter& painter, const QRectF& target, ToolbarPicture picture,
                         bool enabled) {
    GridPainter g(painter, target, enabled);
    switch (picture) {
        case ToolbarPicture::Chart:
            DrawChart(g);
            break;
        case ToolbarPicture::Map:
            DrawMap(g);
            break;
        case ToolbarPicture::Screen:
            DrawScreen(g);
            break;
        case ToolbarPicture::Search:
            DrawSearch(g);
            break;
        case ToolbarPicture::Excel:
            DrawExcel(g);
            break;
        case ToolbarPicture::Settings:
            DrawSettings(g);
            break;
        case ToolbarPicture::Exit:
            DrawExit(g);
            break;
        case ToolbarPicture::Folder:
            DrawFolder(g);
            break;
    }
}

QIcon NavigationIcon(NavigationPicture picture) {
    return QIcon(new PictureEngine([picture](QPainter& p, const QRectF& r, bool enabled) {
        PaintNavigationPicture(p, r, picture, enabled);
    }));
}

QIcon ToolbarIcon(ToolbarPicture picture) {
    return QIcon(new PictureEngine([picture](QPainter& p, const QRectF& r, bool enabled) {
        PaintToolbarPicture(p, r, picture, enabled);
    }));
}

}  // namespace ondavia::gui
