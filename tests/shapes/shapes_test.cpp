// The shape catalogue, checked through the GL call recorder: what each routine emits, and
// geometric properties of every figure that a wrong digit in a vertex would break.

#include "gl_recorder.h"
#include "shapes/shapes.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Point {
    double x;
    double y;
    bool operator<(const Point& o) const { return x < o.x || (x == o.x && y < o.y); }
    bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

struct Primitive {
    double mode = 0;
    std::vector<Point> vertices;
    std::string vertexCall; // the glVertex entry point used for every vertex
};
using Figure = std::vector<Primitive>;

// Calls `routine` with an empty recorder and splits what it emitted into primitives. Any call
// other than glBegin / glVertex2i / glVertex2f / glEnd, or a vertex outside a primitive, fails.
Figure record(ShapeRoutine routine) {
    resetGlCalls();
    routine();
    Figure figure;
    bool open = false;
    for (const GlCall& call : glCalls()) {
        if (call.name == "glBegin") {
            EXPECT_FALSE(open) << "glBegin inside a primitive";
            open = true;
            figure.push_back(Primitive{call.args.at(0), {}, ""});
        } else if (call.name == "glEnd") {
            EXPECT_TRUE(open) << "glEnd without glBegin";
            open = false;
        } else if (call.name == "glVertex2i" || call.name == "glVertex2f") {
            EXPECT_TRUE(open) << "vertex outside a primitive";
            if (!open) {
                continue;
            }
            Primitive& p = figure.back();
            if (p.vertexCall.empty()) {
                p.vertexCall = call.name;
            }
            EXPECT_EQ(p.vertexCall, call.name) << "mixed vertex calls in one primitive";
            p.vertices.push_back(Point{call.args.at(0), call.args.at(1)});
        } else {
            ADD_FAILURE() << "a shape routine called " << call.name;
        }
    }
    EXPECT_FALSE(open) << "primitive left open";
    return figure;
}

class Catalogue : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        initFilledShapes();
        initOutlineShapes();
    }
    static Figure filled(char letter) { return record(filledShapes[letter - 'a']); }
    static Figure outline(char letter) { return record(outlineShapes[letter - 'a']); }
};

bool isCurved(char letter) {
    return letter == 'e' || letter == 'n' || letter == 'p';
}

double signedArea(const std::vector<Point>& v) {
    double twice = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const Point& a = v[i];
        const Point& b = v[(i + 1) % v.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return twice / 2;
}

double cross(const Point& o, const Point& a, const Point& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Whether the closed segments ab and cd share a point.
bool segmentsTouch(const Point& a, const Point& b, const Point& c, const Point& d) {
    const double d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) {
        return true;
    }
    auto onSegment = [](const Point& p, const Point& q, const Point& r) {
        return cross(p, q, r) == 0 && std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) &&
               std::min(p.y, q.y) <= r.y && r.y <= std::max(p.y, q.y);
    };
    return onSegment(c, d, a) || onSegment(c, d, b) || onSegment(a, b, c) || onSegment(a, b, d);
}

// A simple polygon: no edge meets another except its two neighbours at the shared corners.
bool isSimple(const std::vector<Point>& v) {
    const std::size_t n = v.size();
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            if (j == i + 1 || (i == 0 && j == n - 1)) {
                continue;
            }
            if (segmentsTouch(v[i], v[(i + 1) % n], v[j], v[(j + 1) % n])) {
                return false;
            }
        }
    }
    return true;
}

// Convex: every turn goes the same way (straight runs allowed).
bool isConvex(const std::vector<Point>& v) {
    bool left = false, right = false;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const double turn = cross(v[i], v[(i + 1) % v.size()], v[(i + 2) % v.size()]);
        left = left || turn > 0;
        right = right || turn < 0;
    }
    return !(left && right);
}

bool inside(const std::vector<Point>& v, double x, double y) {
    bool in = false;
    for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
        if ((v[i].y > y) != (v[j].y > y) &&
            x < (v[j].x - v[i].x) * (y - v[i].y) / (v[j].y - v[i].y) + v[i].x) {
            in = !in;
        }
    }
    return in;
}

// A figure as a set of sub-figures, each taken as the set of its corners.
std::multiset<std::set<Point>> cornerSets(const Figure& figure) {
    std::multiset<std::set<Point>> out;
    for (const Primitive& p : figure) {
        out.insert(std::set<Point>(p.vertices.begin(), p.vertices.end()));
    }
    return out;
}

Figure transformed(Figure figure, Point (*map)(Point, double), double c) {
    for (Primitive& p : figure) {
        for (Point& v : p.vertices) {
            v = map(v, c);
        }
    }
    return figure;
}

Point mirrorX(Point p, double axis) {
    return Point{2 * axis - p.x, p.y};
}
Point mirrorY(Point p, double axis) {
    return Point{p.x, 2 * axis - p.y};
}

} // namespace

TEST_F(Catalogue, TablesHoldFiftyTwoDistinctRoutinesInLetterOrder) {
    std::set<ShapeRoutine> seen;
    for (int i = 0; i < 26; ++i) {
        ASSERT_NE(filledShapes[i], nullptr) << i;
        ASSERT_NE(outlineShapes[i], nullptr) << i;
        seen.insert(filledShapes[i]);
        seen.insert(outlineShapes[i]);
    }
    EXPECT_EQ(seen.size(), 52u);
    EXPECT_EQ(filledShapes[0], &filledTriangle);
    EXPECT_EQ(outlineShapes[0], &outlineTriangle);
    EXPECT_EQ(filledShapes[4], &filledCircle);
    EXPECT_EQ(outlineShapes[13], &outlineEllipse);
    EXPECT_EQ(filledShapes[15], &filledHalfEllipse);
    EXPECT_EQ(filledShapes[25], &filledHourglass);
    EXPECT_EQ(outlineShapes[25], &outlineHourglass);
}

TEST_F(Catalogue, EveryRoutineOpensAndClosesItsPrimitivesOfTheRightKind) {
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        SCOPED_TRACE(std::string(1, letter));
        for (const Figure& figure : {filled(letter), outline(letter)}) {
            ASSERT_FALSE(figure.empty());
            for (const Primitive& p : figure) {
                EXPECT_GE(p.vertices.size(), 3u);
                EXPECT_EQ(p.vertexCall, isCurved(letter) ? "glVertex2f" : "glVertex2i");
            }
        }
        for (const Primitive& p : filled(letter)) {
            EXPECT_EQ(p.mode, GL_POLYGON);
        }
        for (const Primitive& p : outline(letter)) {
            EXPECT_EQ(p.mode, GL_LINE_LOOP);
        }
    }
}

TEST_F(Catalogue, RoutinesEmitTheSameOnEveryCall) {
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        SCOPED_TRACE(std::string(1, letter));
        resetGlCalls();
        filledShapes[letter - 'a']();
        const std::vector<GlCall> first = glCalls();
        resetGlCalls();
        filledShapes[letter - 'a']();
        filledShapes[letter - 'a']();
        const std::vector<GlCall>& twice = glCalls();
        ASSERT_EQ(twice.size(), 2 * first.size());
        for (std::size_t i = 0; i < twice.size(); ++i) {
            EXPECT_EQ(twice[i].name, first[i % first.size()].name);
            EXPECT_EQ(twice[i].args, first[i % first.size()].args);
        }
    }
}

TEST_F(Catalogue, OutlinesTraceTheirFilledTwinExceptTheTriangle) {
    for (char letter = 'b'; letter <= 'z'; ++letter) {
        SCOPED_TRACE(std::string(1, letter));
        const Figure f = filled(letter);
        const Figure o = outline(letter);
        ASSERT_EQ(f.size(), o.size());
        for (std::size_t i = 0; i < f.size(); ++i) {
            EXPECT_EQ(f[i].vertices, o[i].vertices);
        }
    }
    const Figure f = filled('a');
    const Figure o = outline('a');
    ASSERT_EQ(f.size(), 1u);
    ASSERT_EQ(o.size(), 1u);
    EXPECT_EQ(f[0].vertices, (std::vector<Point>{{0, 0}, {60, 0}, {30, 60}}));
    EXPECT_EQ(o[0].vertices, (std::vector<Point>{{0, 0}, {65, 0}, {25, 65}}));
}

TEST_F(Catalogue, MultiPartFiguresHaveOnePrimitivePerPart) {
    // Figures of one part, except those named here with their number of parts.
    const std::map<char, std::size_t> parts = {{'m', 2}, {'o', 2}, {'q', 4}, {'r', 2},
                                               {'s', 2}, {'t', 2}, {'u', 4}, {'v', 4},
                                               {'w', 2}, {'x', 5}, {'y', 2}, {'z', 2}};
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const auto it = parts.find(letter);
        EXPECT_EQ(filled(letter).size(), it == parts.end() ? 1u : it->second) << letter;
    }
}

TEST_F(Catalogue, PolygonalPartsAreSimpleAndConvexButTheTopAndTheEight) {
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        if (isCurved(letter)) {
            continue;
        }
        SCOPED_TRACE(std::string(1, letter));
        for (const Figure& figure : {filled(letter), outline(letter)}) {
            for (const Primitive& p : figure) {
                EXPECT_TRUE(isSimple(p.vertices));
                EXPECT_NE(signedArea(p.vertices), 0.0);
                EXPECT_EQ(isConvex(p.vertices), letter != 'i' && letter != 'l');
                for (const Point& v : p.vertices) {
                    EXPECT_GE(v.x, 0);
                    EXPECT_GE(v.y, 0);
                }
            }
        }
    }
}

TEST_F(Catalogue, SymmetricFiguresMatchTheirMirrorImage) {
    // Axes of mirror symmetry read off each figure's description (a vertical axis x = c or a
    // horizontal axis y = c). A wrong digit in any vertex breaks the symmetry.
    struct Axis {
        char letter;
        bool vertical;
        double at;
    };
    const Axis axes[] = {{'b', true, 30},  {'b', false, 30}, {'c', true, 30},  {'f', true, 70},
                         {'f', false, 40}, {'g', true, 60},  {'h', true, 50},  {'i', true, 60},
                         {'j', true, 55},  {'j', false, 30}, {'k', true, 55},  {'l', true, 70},
                         {'l', false, 90}, {'m', true, 30},  {'o', true, 30},  {'q', false, 60},
                         {'r', true, 30},  {'s', true, 40},  {'u', true, 90},  {'u', false, 90},
                         {'w', true, 45},  {'x', true, 40},  {'x', false, 60}, {'y', true, 50},
                         {'z', true, 40},  {'z', false, 40}};
    for (const Axis& axis : axes) {
        SCOPED_TRACE(std::string(1, axis.letter) + (axis.vertical ? " x=" : " y=") +
                     std::to_string(axis.at));
        const Figure figure = filled(axis.letter);
        EXPECT_EQ(cornerSets(figure),
                  cornerSets(transformed(figure, axis.vertical ? mirrorX : mirrorY, axis.at)));
    }
    // The filled triangle is symmetric too; the parallelogram is symmetric about its centre.
    const Figure a = filled('a');
    EXPECT_EQ(cornerSets(a), cornerSets(transformed(a, mirrorX, 30)));
    const Figure d = filled('d');
    EXPECT_EQ(cornerSets(d), cornerSets(transformed(transformed(d, mirrorX, 60), mirrorY, 30)));
}

TEST_F(Catalogue, PartsOverlapOnlyInTheCardTheCrossAndTheDiagonalCross) {
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        if (isCurved(letter)) {
            continue;
        }
        SCOPED_TRACE(std::string(1, letter));
        const Figure figure = filled(letter);
        int doubled = 0;
        bool windowInCard = true;
        for (double y = 0.5; y < 180; y += 1) {
            for (double x = 0.5; x < 180; x += 1) {
                int count = 0;
                for (const Primitive& p : figure) {
                    count += inside(p.vertices, x, y) ? 1 : 0;
                }
                if (count > 1) {
                    ++doubled;
                }
                if (letter == 'w') {
                    const bool inOverlap = x > 40 && x < 50 && y > 70 && y < 90;
                    EXPECT_EQ(count, inOverlap ? 2 : std::min(count, 1)) << x << "," << y;
                }
                if (letter == 't' && inside(figure[1].vertices, x, y)) {
                    windowInCard = windowInCard && inside(figure[0].vertices, x, y);
                }
            }
        }
        if (letter == 't' || letter == 'w' || letter == 'y') {
            EXPECT_GT(doubled, 0);
        } else {
            EXPECT_EQ(doubled, 0);
        }
        if (letter == 't') {
            EXPECT_TRUE(windowInCard);
        }
        if (letter == 'y') {
            EXPECT_TRUE(inside(figure[0].vertices, 50, 50) && inside(figure[1].vertices, 50, 50));
        }
    }
}

TEST_F(Catalogue, FiguresSitWhereTheirDescriptionsPlaceThem) {
    // The four-pointed star: four kites meeting at (90, 90), spanning 40 to 140 on both axes.
    const Figure star = filled('u');
    double lo = 1e9, hi = -1e9;
    for (const Primitive& p : star) {
        EXPECT_EQ(std::count(p.vertices.begin(), p.vertices.end(), Point{90, 90}), 1);
        for (const Point& v : p.vertices) {
            lo = std::min({lo, v.x, v.y});
            hi = std::max({hi, v.x, v.y});
        }
    }
    EXPECT_EQ(lo, 40);
    EXPECT_EQ(hi, 140);

    // The figure eight reaches y = 170 and has its waist at (40, 90) and (100, 90).
    const std::vector<Point> eight = filled('l')[0].vertices;
    double top = 0;
    for (const Point& v : eight) {
        top = std::max(top, v.y);
    }
    EXPECT_EQ(top, 170);
    EXPECT_EQ(std::count(eight.begin(), eight.end(), Point{40, 90}), 1);
    EXPECT_EQ(std::count(eight.begin(), eight.end(), Point{100, 90}), 1);

    // Arrows: the up arrow's head sits above its shaft, the down arrow's below.
    const Figure up = filled('m');
    const Figure down = filled('o');
    EXPECT_EQ(up[1].vertices.size(), 3u);
    EXPECT_EQ(down[1].vertices.size(), 3u);
    for (const Point& v : up[0].vertices) {
        EXPECT_LE(v.y, 60);
    }
    for (const Point& v : up[1].vertices) {
        EXPECT_GE(v.y, 60);
    }
    for (const Point& v : down[1].vertices) {
        EXPECT_LE(v.y, 40);
    }
    for (const Point& v : down[0].vertices) {
        EXPECT_GE(v.y, 40);
    }
}

namespace {
struct CurveCase {
    char letter;
    double sweep;
    double rx;
    double ry;
    Point last; // rounded to three decimals
};
const CurveCase kCurves[] = {{'e', 6.2831853071796, 35, 35, {33.807, -9.059}},
                             {'n', 6.2831853071796, 25, 35, {24.148, -9.059}},
                             {'p', 3.1415926535898, 25, 35, {-24.786, 4.568}}};
} // namespace

TEST_F(Catalogue, CurvedFiguresEmitTwentyFourVerticesFromTheirFirstToTheirLast) {
    for (const CurveCase& c : kCurves) {
        SCOPED_TRACE(std::string(1, c.letter));
        for (const Figure& figure : {filled(c.letter), outline(c.letter)}) {
            ASSERT_EQ(figure.size(), 1u);
            const std::vector<Point>& v = figure[0].vertices;
            ASSERT_EQ(v.size(), 24u);
            EXPECT_EQ(v.front().x, c.rx);
            EXPECT_EQ(v.front().y, 0);
            EXPECT_NEAR(v.back().x, c.last.x, 0.0005);
            EXPECT_NEAR(v.back().y, c.last.y, 0.0005);
            EXPECT_GT(signedArea(v), 0) << "vertices run anticlockwise";
            for (const Point& p : v) {
                // Every vertex lies on the ellipse (to float precision).
                EXPECT_NEAR(p.x * p.x / (c.rx * c.rx) + p.y * p.y / (c.ry * c.ry), 1.0, 1e-6);
                if (c.letter == 'p') {
                    EXPECT_GE(p.y, 0);
                }
            }
        }
    }
}

TEST_F(Catalogue, CurvedVerticesAreBitIdenticalToTheDirectComputation) {
    // The routines keep their vertices once computed; what they emit must be exactly what the
    // computation at every call would give: angle k * T / 24 in double, held as a float, then
    // R * cos and R * sin in double, each rounded to float.
    for (const CurveCase& c : kCurves) {
        SCOPED_TRACE(std::string(1, c.letter));
        const std::vector<Point> v = outline(c.letter)[0].vertices;
        const CurveVertices computed = computeCurveVertices(c.sweep, c.rx, c.ry);
        for (int k = 0; k < 24; ++k) {
            const float angle = static_cast<float>(k * c.sweep / 24);
            const float x = static_cast<float>(c.rx * std::cos(static_cast<double>(angle)));
            const float y = static_cast<float>(c.ry * std::sin(static_cast<double>(angle)));
            EXPECT_EQ(v[k].x, static_cast<double>(x)) << k;
            EXPECT_EQ(v[k].y, static_cast<double>(y)) << k;
            EXPECT_EQ(computed[k][0], x) << k;
            EXPECT_EQ(computed[k][1], y) << k;
        }
    }
}

namespace {
// The set of edges of a polygon that run parallel to an axis, as "h y x1 x2" / "v x y1 y2".
std::set<std::vector<double>> axisEdges(const std::vector<Point>& v) {
    std::set<std::vector<double>> edges;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const Point& a = v[i];
        const Point& b = v[(i + 1) % v.size()];
        if (a.y == b.y) {
            edges.insert({0, a.y, std::min(a.x, b.x), std::max(a.x, b.x)});
        } else if (a.x == b.x) {
            edges.insert({1, a.x, std::min(a.y, b.y), std::max(a.y, b.y)});
        }
    }
    return edges;
}
} // namespace

TEST_F(Catalogue, TheZigzagAndTheCardAreBuiltFromStraightPieces) {
    // The zigzag strip: four slanted quadrilaterals, each with a level top and bottom of the
    // same width, stacked so that each one's top is the next one's bottom, leaning alternately.
    const Figure strip = filled('v');
    ASSERT_EQ(strip.size(), 4u);
    std::vector<std::vector<double>> bottoms, tops;
    for (const Primitive& p : strip) {
        const auto edges = axisEdges(p.vertices);
        ASSERT_EQ(edges.size(), 2u);
        const auto& bottom = *edges.begin();
        const auto& top = *edges.rbegin();
        EXPECT_EQ(bottom[0], 0);
        EXPECT_EQ(top[0], 0);
        EXPECT_EQ(top[3] - top[2], bottom[3] - bottom[2]);
        EXPECT_EQ(top[1] - bottom[1], 20);
        bottoms.push_back(bottom);
        tops.push_back(top);
    }
    for (std::size_t i = 0; i + 1 < 4; ++i) {
        EXPECT_EQ(tops[i], bottoms[i + 1]);
        EXPECT_EQ(tops[i][2] - bottoms[i][2], -(tops[i + 1][2] - bottoms[i + 1][2]));
    }

    // The card: level top and bottom and an upright right side; the window an upright square.
    const Figure card = filled('t');
    ASSERT_EQ(card.size(), 2u);
    const auto cardEdges = axisEdges(card[0].vertices);
    EXPECT_EQ(cardEdges.size(), 3u);
    const auto windowEdges = axisEdges(card[1].vertices);
    ASSERT_EQ(windowEdges.size(), 4u);
    for (const auto& edge : windowEdges) {
        EXPECT_EQ(edge[3] - edge[2], 20);
    }
}
