// The batching layer's recorder, driven through the cases of batch_cases.txt: what it must hold
// (runs, vertices in clip coordinates with their colours, primitives dropped) after a sequence
// of GL calls.

#include "golden_data.h"
#include "web/batch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

const std::map<std::string, GLenum> kModes = {
    {"POINTS", GL_POINTS},
    {"LINES", GL_LINES},
    {"LINE_STRIP", GL_LINE_STRIP},
    {"LINE_LOOP", GL_LINE_LOOP},
    {"TRIANGLES", GL_TRIANGLES},
    {"TRIANGLE_STRIP", GL_TRIANGLE_STRIP},
    {"TRIANGLE_FAN", GL_TRIANGLE_FAN},
    {"POLYGON", GL_POLYGON},
    {"QUADS", GL_QUADS},
    {"PROJECTION", GL_PROJECTION},
    {"MODELVIEW", GL_MODELVIEW},
};

float f(const std::string& text) {
    return std::strtof(text.c_str(), nullptr);
}
double d(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

struct Expected {
    bool runsGiven = false;
    std::vector<BatchRun> runs;
    std::vector<DataLine> vertices;
    long dropped = -1;
};

void compare(const std::string& name, const Expected& expected) {
    SCOPED_TRACE(name);
    if (expected.runsGiven) {
        ASSERT_EQ(batch.runs.size(), expected.runs.size());
        int first = 0;
        for (std::size_t i = 0; i < expected.runs.size(); ++i) {
            EXPECT_EQ(batch.runs[i].mode, expected.runs[i].mode) << "run " << i;
            EXPECT_EQ(batch.runs[i].first, first) << "run " << i;
            EXPECT_EQ(batch.runs[i].count, expected.runs[i].count) << "run " << i;
            first += expected.runs[i].count;
        }
        EXPECT_EQ(static_cast<int>(batch.vertices.size()), first);
    }
    if (!expected.vertices.empty()) {
        ASSERT_EQ(batch.vertices.size(), expected.vertices.size());
        for (std::size_t i = 0; i < expected.vertices.size(); ++i) {
            const DataLine& e = expected.vertices[i];
            const BatchVertex& v = batch.vertices[i];
            const float got[8] = {v.x, v.y, v.z, v.w, v.red, v.green, v.blue, v.alpha};
            for (std::size_t k = 1; k < e.size(); ++k) {
                EXPECT_EQ(got[k - 1], f(e[k])) << "vertex " << i << ", component " << k - 1;
            }
        }
    }
    if (expected.dropped >= 0) {
        EXPECT_EQ(batch.dropped, expected.dropped);
    }
}

} // namespace

TEST(BatchRecorder, HoldsWhatTheCasesSay) {
    const std::vector<DataLine> lines = readDataLines("web/batch_cases.txt");
    std::string name;
    Expected expected;
    int checks = 0;
    for (const DataLine& l : lines) {
        const std::string& word = l[0];
        const auto mode = [&](std::size_t i) {
            EXPECT_TRUE(kModes.count(l.at(i))) << l.at(i);
            return kModes.count(l.at(i)) ? kModes.at(l.at(i)) : GLenum{0};
        };
        if (word == "case") {
            name = l.at(1);
            batch = Batch{};
            expected = Expected{};
        } else if (word == "viewport") {
            batchViewport(std::atoi(l.at(1).c_str()), std::atoi(l.at(2).c_str()));
        } else if (word == "matrix") {
            batchMatrixMode(mode(1));
        } else if (word == "identity") {
            batchLoadIdentity();
        } else if (word == "translate") {
            batchTranslate(d(l.at(1)), d(l.at(2)), d(l.at(3)));
        } else if (word == "scale") {
            batchScale(f(l.at(1)), f(l.at(2)), f(l.at(3)));
        } else if (word == "ortho") {
            batchOrtho(d(l.at(1)), d(l.at(2)), d(l.at(3)), d(l.at(4)), d(l.at(5)), d(l.at(6)));
        } else if (word == "colour") {
            batchColour(f(l.at(1)), f(l.at(2)), f(l.at(3)), f(l.at(4)));
        } else if (word == "begin") {
            batchBegin(mode(1));
        } else if (word == "vertex") {
            const bool full = l.size() == 5;
            batchVertex(f(l.at(1)), f(l.at(2)), full ? f(l[3]) : 0.0f, full ? f(l[4]) : 1.0f);
        } else if (word == "end") {
            batchEnd();
        } else if (word == "clear") {
            batchClear();
        } else if (word == "draw") {
            batchBegin(mode(1));
            for (std::size_t i = 2; i + 1 < l.size(); i += 2) {
                batchVertex(f(l[i]), f(l[i + 1]), 0.0f, 1.0f);
            }
            batchEnd();
        } else if (word == "runs") {
            expected.runsGiven = true;
            for (std::size_t i = 1; i + 1 < l.size(); i += 2) {
                expected.runs.push_back({mode(i), 0, std::atoi(l[i + 1].c_str())});
            }
        } else if (word == "v") {
            EXPECT_TRUE(l.size() == 5 || l.size() == 9) << name;
            expected.vertices.push_back(l);
        } else if (word == "clip") {
            for (std::size_t i = 1; i + 1 < l.size(); i += 2) {
                expected.vertices.push_back({"v", l[i], l[i + 1], "0", "1"});
            }
        } else if (word == "dropped") {
            expected.dropped = std::atol(l.at(1).c_str());
        } else if (word == "check") {
            compare(name, expected);
            expected = Expected{};
            ++checks;
        } else {
            ADD_FAILURE() << "unknown line in batch_cases.txt: " << word;
        }
    }
    EXPECT_GE(checks, 20);
}
