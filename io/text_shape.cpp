#include "io/text_shape.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainterPath>

#include "io/one_line_text.h"

namespace {

Point3 Flipped(const QPointF& p) {
    return Point3(static_cast<float>(p.x()), static_cast<float>(-p.y()), 0.0f);
}

SplineKnot Knot(const Point3& at) {
    SplineKnot knot;
    knot.knot = knot.inVec = knot.outVec = at;
    return knot;
}

// Ends the contour in spline: a last knot on the first becomes the closing.
void Finish(Spline3D& spline, std::vector<Spline3D>& splines) {
    if (spline.KnotCount() > 1 &&
        (spline.knots.back().knot - spline.knots.front().knot).Length() < 1e-4f) {
        spline.knots.front().inVec = spline.knots.back().inVec;
        spline.knots.pop_back();
    }
    if (spline.KnotCount() >= 3) {
        spline.closed = true;
        splines.push_back(spline);
    }
    spline = Spline3D();
}

}  // namespace

bool TextShape(const std::string& text, const std::string& family, std::vector<Spline3D>& splines,
               std::string& error) {
    splines.clear();
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        error = "text needs Qt's font engine, which has not been started";
        return false;
    }
    QString name = QString::fromStdString(family);
    if (!QFontDatabase().families().contains(name, Qt::CaseInsensitive)) {
        error = "font \"" + OneLine(family, 60) + "\" is not installed";
        return false;
    }
    QFont font(name);
    font.setPixelSize(100);
    QPainterPath path;
    path.addText(0.0, 0.0, font, QString::fromStdString(text));
    Spline3D spline;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element& e = path.elementAt(i);
        if (e.isMoveTo()) {
            Finish(spline, splines);
            spline.AddKnot(Knot(Flipped(e)));
        } else if (e.isLineTo()) {
            spline.AddKnot(Knot(Flipped(e)));
        } else if (e.isCurveTo() && i + 2 < path.elementCount() && spline.KnotCount() > 0) {
            spline.knots.back().outVec = Flipped(e);
            SplineKnot end = Knot(Flipped(path.elementAt(i + 2)));
            end.inVec = Flipped(path.elementAt(i + 1));
            spline.AddKnot(end);
            i += 2;
        }
    }
    Finish(spline, splines);
    if (splines.empty()) {
        error = "the text \"" + text + "\" draws no outline";
        return false;
    }
    return true;
}
