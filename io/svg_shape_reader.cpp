// SVG++ is header-only and heavy to compile: it is used in this file alone.
#include "io/svg_shape_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <rapidxml_ns/rapidxml_ns.hpp>
#include <svgpp/policy/xml/rapidxml_ns.hpp>
#include <svgpp/svgpp.hpp>

#include "io/finite_float.h"
#include "io/one_line_text.h"
#include "io/spline_builder.h"
#include "io/svg_skipped_elements.h"
#include "io/svg_text_outlines.h"
#include "io/svg_use_expansion.h"
#include "io/xml_nesting_depth.h"

// SVG++'s arc-to-curve iterator leaves its control points unset when an arc
// needs no curve, and is then never read; GCC cannot see that once inlined here.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

namespace {

typedef const rapidxml_ns::xml_node<char>* XmlElement;

const char kSvgNamespace[] = "http://www.w3.org/2000/svg";
const int kMaxDepth = 200;

// x' = a x + c y + e, y' = b x + d y + f, as SVG writes matrix(a, b, c, d, e, f).
struct Affine {
    double a = 1.0, b = 0.0, c = 0.0, d = 1.0, e = 0.0, f = 0.0;
};

// The transform that applies inner first, then outer.
Affine Compose(const Affine& outer, const Affine& inner) {
    Affine r;
    r.a = outer.a * inner.a + outer.c * inner.b;
    r.b = outer.b * inner.a + outer.d * inner.b;
    r.c = outer.a * inner.c + outer.c * inner.d;
    r.d = outer.b * inner.c + outer.d * inner.d;
    r.e = outer.a * inner.e + outer.c * inner.f + outer.e;
    r.f = outer.b * inner.e + outer.d * inner.f + outer.f;
    return r;
}

struct Drawing {
    SplineBuilder builder;
    XmlElement beyondFloat = nullptr;  // the first element with a coordinate out of range
};

// The state an element passes to its children: transform, lengths, visibility.
class BaseContext {
public:
    typedef svgpp::factory::length::unitless<> length_factory_type;

    BaseContext(Drawing& out, double viewportWidth, double viewportHeight) : drawing(&out) {
        lengths.set_viewport_size(viewportWidth, viewportHeight);
    }

    void on_exit_element() {}

    void transform_matrix(const boost::array<double, 6>& m) {
        Affine inner;
        inner.a = m[0];
        inner.b = m[1];
        inner.c = m[2];
        inner.d = m[3];
        inner.e = m[4];
        inner.f = m[5];
        ctm = Compose(ctm, inner);
    }
    void transform_translate(double tx, double ty) {
        Affine inner;
        inner.e = tx;
        inner.f = ty;
        ctm = Compose(ctm, inner);
    }
    void transform_scale(double sx, double sy) {
        Affine inner;
        inner.a = sx;
        inner.d = sy;
        ctm = Compose(ctm, inner);
    }

    void set_viewport(double, double, double width, double height) {
        lengths.set_viewport_size(width, height);
    }
    // Percentages inside a viewBox refer to it.
    void set_viewbox_size(double width, double height) { lengths.set_viewport_size(width, height); }
    // A viewport or viewBox of zero size shows nothing.
    void disable_rendering() { rendering = false; }

    const length_factory_type& length_factory() const { return lengths; }

protected:
    Drawing* drawing;
    Affine ctm;
    length_factory_type lengths;
    bool rendering = true;
};

// A shape element: its path events become subpaths, seen through the transform
// and with y turned up.
class PathContext : public BaseContext {
public:
    PathContext(BaseContext& parent, XmlElement xmlElement)
        : BaseContext(parent), element(xmlElement) {}

    void path_move_to(double x, double y, svgpp::tag::coordinate::absolute) {
        current = start = {x, y};
        if (rendering)
            drawing->builder.MoveTo(Map(x, y));
    }
    void path_line_to(double x, double y, svgpp::tag::coordinate::absolute) {
        current = {x, y};
        if (rendering)
            drawing->builder.LineTo(Map(x, y));
    }
    void path_cubic_bezier_to(double x1, double y1, double x2, double y2, double x, double y,
                              svgpp::tag::coordinate::absolute) {
        current = {x, y};
        if (rendering)
            drawing->builder.CurveTo(Map(x1, y1), Map(x2, y2), Map(x, y));
    }
    // Arcs are turned into curves here rather than by SVG++, which computes
    // NaN for the degenerate ones that SVG defines: an arc ending where it
    // starts draws nothing, one with a zero radius is a straight line.
    void path_elliptical_arc_to(double rx, double ry, double rotationDegrees, bool largeArc,
                                bool sweep, double x, double y, svgpp::tag::coordinate::absolute) {
        if (x == current.x && y == current.y)
            return;
        rx = std::fabs(rx);
        ry = std::fabs(ry);
        if (rx == 0.0 || ry == 0.0) {
            path_line_to(x, y, svgpp::tag::coordinate::absolute());
            return;
        }
        double rotation = rotationDegrees * boost::math::constants::degree<double>();
        double cx, cy, theta1, theta2;
        svgpp::arc_endpoint_to_center(current.x, current.y, x, y, rx, ry, rotation, largeArc, sweep,
                                      cx, cy, theta1, theta2);
        // Radii too large or too small for doubles leave the centre unknown.
        if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(theta1) ||
            !std::isfinite(theta2) || !std::isfinite(rx) || !std::isfinite(ry)) {
            if (!drawing->beyondFloat)
                drawing->beyondFloat = element;
            current = {x, y};
            return;
        }
        const double turn = boost::math::constants::two_pi<double>();
        if (sweep && theta2 < theta1)
            theta2 += turn;
        else if (!sweep && theta2 > theta1)
            theta2 -= turn;
        typedef svgpp::arc_to_bezier<double> Pieces;
        Pieces pieces(cx, cy, rx, ry, rotation, Pieces::circle_angle_tag(), theta1, theta2,
                      Pieces::max_angle_tag(), boost::math::constants::half_pi<double>());
        for (Pieces::iterator it(pieces); !it.eof(); it.advance())
            path_cubic_bezier_to(it.p1x(), it.p1y(), it.p2x(), it.p2y(), it.p3x(), it.p3y(),
                                 svgpp::tag::coordinate::absolute());
        // The last piece ends on the end point only up to rounding.
        current = {x, y};
    }
    void path_close_subpath() {
        current = start;
        if (rendering)
            drawing->builder.Close();
    }
    void path_exit() { drawing->builder.End(); }

private:
    struct UserPoint {
        double x = 0.0, y = 0.0;
    };

    Point3 Map(double x, double y) {
        Point3 p;
        bool ok = ToFiniteFloat(ctm.a * x + ctm.c * y + ctm.e, p.x) &&
                  ToFiniteFloat(-(ctm.b * x + ctm.d * y + ctm.f), p.y);
        if (!ok && !drawing->beyondFloat)
            drawing->beyondFloat = element;
        return p;
    }

    XmlElement element;
    UserPoint current, start;  // in the element's own coordinates
};

struct ChildContextFactories {
    template <class ParentContext, class ElementTag, class Enable = void>
    struct apply {
        typedef svgpp::factory::context::on_stack<BaseContext> type;
    };
};

template <class ElementTag>
struct ChildContextFactories::apply<BaseContext, ElementTag,
                                    typename boost::enable_if<boost::mpl::has_key<
                                        svgpp::traits::shape_elements, ElementTag>>::type> {
    typedef svgpp::factory::context::on_stack_with_xml_element<PathContext> type;
};

// Drawings from editors carry their own elements and attributes: pass over them.
struct TolerantErrors : svgpp::policy::error::raise_exception<BaseContext> {
    template <class Element, class Name>
    static bool unknown_element(const BaseContext&, const Element&, const Name&) {
        return true;
    }
    template <class Element>
    static bool unexpected_element(const BaseContext&, const Element&) {
        return true;
    }
    template <class Attribute, class Name, class Namespace>
    static bool unknown_attribute(const BaseContext&, const Attribute&, const Name&, Namespace,
                                  svgpp::tag::source::attribute) {
        return true;
    }
    template <class Attribute, class Name>
    static bool unknown_attribute(const BaseContext&, const Attribute&, const Name&,
                                  svgpp::tag::source::css) {
        return true;
    }
};

typedef boost::mpl::set<svgpp::tag::element::svg, svgpp::tag::element::g, svgpp::tag::element::path,
                        svgpp::tag::element::rect, svgpp::tag::element::circle,
                        svgpp::tag::element::ellipse, svgpp::tag::element::line,
                        svgpp::tag::element::polyline, svgpp::tag::element::polygon>::type
    ProcessedElements;

typedef boost::mpl::fold<
    boost::mpl::protect<boost::mpl::joint_view<svgpp::traits::shapes_attributes_by_element,
                                               svgpp::traits::viewport_attributes>>,
    boost::mpl::set<svgpp::tag::attribute::transform>::type,
    boost::mpl::insert<boost::mpl::_1, boost::mpl::_2>>::type ProcessedAttributes;

// Absolute coordinates, no shorthands, quadratic curves as cubic ones; arcs
// come to PathContext as they are.
struct ArcsAsEvents : svgpp::policy::path::minimal {
    static const bool arc_as_cubic_bezier = false;
};

typedef svgpp::document_traversal<
    svgpp::processed_elements<ProcessedElements>, svgpp::processed_attributes<ProcessedAttributes>,
    svgpp::path_policy<ArcsAsEvents>, svgpp::viewport_policy<svgpp::policy::viewport::as_transform>,
    svgpp::context_factories<ChildContextFactories>,
    svgpp::length_policy<svgpp::policy::length::forward_to_method<BaseContext>>,
    svgpp::error_policy<TolerantErrors>>
    Traversal;

std::string LineOf(const std::string& text, std::size_t offset) {
    offset = std::min(offset, text.size());
    return "line " + std::to_string(1 + std::count(text.begin(), text.begin() + offset, '\n')) +
           ": ";
}

// The first element node among the document's children.
XmlElement RootElement(const rapidxml_ns::xml_document<char>& document) {
    for (XmlElement node = document.first_node(); node; node = node->next_sibling())
        if (node->type() == rapidxml_ns::node_element)
            return node;
    return nullptr;
}

// The viewBox width and height of element, if it has a readable one, of any sign.
bool ViewBoxSize(XmlElement element, double& width, double& height) {
    const rapidxml_ns::xml_attribute<char>* attribute = element->first_attribute("viewBox");
    if (!attribute)
        return false;
    std::string text(attribute->value(), attribute->value_size());
    std::replace(text.begin(), text.end(), ',', ' ');
    double numbers[4];
    const char* p = text.data();
    const char* end = p + text.size();
    for (double& number : numbers) {
        while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r')) ++p;
        auto result = std::from_chars(p, end, number);
        if (result.ec != std::errc())
            return false;
        p = result.ptr;
    }
    width = numbers[2];
    height = numbers[3];
    return true;
}

}  // namespace

bool ReadSvgShape(const std::string& path, const std::string& bytes, std::vector<Spline3D>& splines,
                  std::string& error, std::vector<std::string>* warnings) {
    splines.clear();
    // The XML parser and the traversal both recurse once per level.
    if (XmlNestingDepth(bytes) > kMaxDepth) {
        error = path + ": elements nest deeper than " + std::to_string(kMaxDepth) + " levels";
        return false;
    }
    std::vector<char> buffer(bytes.begin(), bytes.end());
    buffer.push_back('\0');
    std::string where;
    // The nodes live in the document: it must outlast the error handling below.
    rapidxml_ns::xml_document<char> document;
    try {
        document.parse<rapidxml_ns::parse_default>(buffer.data());
        XmlElement root = RootElement(document);
        if (!root) {
            error = path + ": has no XML element";
            return false;
        }
        where = LineOf(bytes, static_cast<std::size_t>(root->name() - buffer.data()));
        std::string rootName(root->local_name(), root->local_name_size());
        if (rootName != "svg") {
            error = path + ": " + where + "is not an SVG drawing (its root element is <" +
                    OneLine(rootName, 40) + ">)";
            return false;
        }
        if (std::string(root->namespace_uri(), root->namespace_uri_size()) != kSvgNamespace) {
            error = path + ": " + where + "the svg element lacks xmlns=\"" + kSvgNamespace +
                    "\", without which nothing in it is SVG";
            return false;
        }
        // An outermost svg element without a size takes its viewBox's (the
        // length factory resolves the missing "100%" against this).
        double width = 500.0, height = 500.0, boxWidth, boxHeight;
        if (ViewBoxSize(root, boxWidth, boxHeight) && boxWidth > 0.0 && boxHeight > 0.0) {
            width = boxWidth;
            height = boxHeight;
        }
        std::vector<std::string> unresolved;
        ExpandSvgUses(document, const_cast<rapidxml_ns::xml_node<char>*>(root), unresolved);
        std::vector<std::string> textProblems;
        OutlineSvgTexts(document, const_cast<rapidxml_ns::xml_node<char>*>(root), textProblems);
        if (warnings && !textProblems.empty())
            warnings->push_back(path + ": left " + std::to_string(textProblems.size()) +
                                " <text> element(s) undrawn: " + OneLine(textProblems[0], 80));
        std::string skipped;
        for (const auto& [name, count] : SkippedSvgElements(root))
            skipped += (skipped.empty() ? "" : ", ") + std::to_string(count) + " <" +
                       OneLine(name, 40) + ">";
        if (warnings && !unresolved.empty())
            warnings->push_back(path + ": left " + std::to_string(unresolved.size()) +
                                " <use> element(s) whose reference is missing, too deep or one "
                                "too many: " +
                                OneLine(unresolved[0], 40) +
                                (unresolved.size() > 1 ? ", ..." : ""));
        if (warnings && !skipped.empty())
            warnings->push_back(path + ": skipped elements that draw no line: " + skipped);
        Drawing drawing;
        BaseContext context(drawing, width, height);
        if (!Traversal::load_document(root, context)) {
            error = path + ": cannot be read as SVG";
            return false;
        }
        if (drawing.beyondFloat) {
            error = path + ": " +
                    LineOf(bytes,
                           static_cast<std::size_t>(drawing.beyondFloat->name() - buffer.data())) +
                    "<" + OneLine(drawing.beyondFloat->name(), 40) +
                    ">: a coordinate leaves single precision";
            return false;
        }
        splines = drawing.builder.Splines();
        return true;
    } catch (const rapidxml_ns::parse_error& e) {
        const char* at = e.where<char>();
        where = at ? LineOf(bytes, static_cast<std::size_t>(at - buffer.data())) : "";
        error = path + ": " + where + "bad XML: " + OneLine(e.what(), 80);
    } catch (const svgpp::exception_base& e) {
        typedef boost::error_info<svgpp::tag::error_info::xml_element, XmlElement> ElementInfo;
        std::string problem = OneLine(e.what(), 120);
        if (const svgpp::invalid_value_error<char>* bad =
                dynamic_cast<const svgpp::invalid_value_error<char>*>(&e))
            problem = "bad value of attribute \"" + bad->name() + "\": \"" +
                      OneLine(bad->value(), 60) + "\"";
        where.clear();
        if (const XmlElement* element = boost::get_error_info<ElementInfo>(e)) {
            where = LineOf(bytes, static_cast<std::size_t>((*element)->name() - buffer.data())) +
                    "<" + OneLine((*element)->name(), 40) + ">: ";
            // SVG++ blames a viewBox of negative size on the width or height.
            double boxWidth, boxHeight;
            if (ViewBoxSize(*element, boxWidth, boxHeight) && (boxWidth < 0.0 || boxHeight < 0.0))
                problem = std::string("the viewBox has a negative ") +
                          (boxWidth < 0.0 ? "width" : "height");
        }
        error = path + ": " + where + problem;
    } catch (const std::exception& e) {
        error = path + ": cannot be read as SVG: " + OneLine(e.what(), 120);
    }
    return false;
}
