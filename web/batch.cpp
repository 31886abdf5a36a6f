// The batching layer's recorder. It replaces, in the browser build, emscripten's legacy GL
// emulation for the immediate-mode calls the program makes: the emulation sends every
// glBegin..glEnd, matrix change and colour through JavaScript and draws each primitive on its
// own (about 5,500 draws a frame under a held key). Here each vertex is transformed as it
// arrives and appended to one array, so that a frame is one upload and a few draws.
//
// The arithmetic follows what the page drew before, so that the pixels stay the same: matrices
// are kept in single precision, each operation on them computed in double precision and rounded
// once, as the emulation's matrix library did; a vertex is multiplied by the modelview and then
// by the projection, each product of matrix and vector summed column by column in single
// precision, as the emulation's vertex shader did on the GPU.

#include "web/batch.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

Batch batch;

namespace {

constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// Where a vertex lies: bits for each edge of the viewport it is beyond by more than a pixel, and
// one for a coordinate that is not finite.
enum : unsigned {
    kLeft = 1,
    kRight = 2,
    kBottom = 4,
    kTop = 8,
    kNotFinite = 16,
};

// The vertices of the open primitive that the next one may complete a primitive with, and where
// they lie.
struct Placed {
    BatchVertex vertex;
    unsigned where;
};
Placed first, previous, beforePrevious;

float* currentMatrix() {
    return batch.projectionMode ? batch.projection : batch.modelview;
}

// m := m * n, each element summed in double precision over k = 0..3 and rounded once.
void multiply(float* m, const float* n) {
    float product[16];
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                const double term = static_cast<double>(n[column * 4 + k]) * m[k * 4 + row];
                sum = k == 0 ? term : sum + term;
            }
            product[column * 4 + row] = static_cast<float>(sum);
        }
    }
    std::copy(product, product + 16, m);
}

// out := m * v in single precision, column by column.
void transform(const float* m, const float* v, float* out) {
    for (int row = 0; row < 4; ++row) {
        float sum = m[row] * v[0];
        sum = sum + m[4 + row] * v[1];
        sum = sum + m[8 + row] * v[2];
        sum = sum + m[12 + row] * v[3];
        out[row] = sum;
    }
}

unsigned whereIs(const BatchVertex& v) {
    if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z) || !std::isfinite(v.w)) {
        return kNotFinite;
    }
    if (!(v.w > 0.0f)) {
        return 0; // behind the eye: left to the GPU's clipping
    }
    unsigned where = 0;
    where |= v.x < -v.w * batch.edgeX ? kLeft : 0u;
    where |= v.x > v.w * batch.edgeX ? kRight : 0u;
    where |= v.y < -v.w * batch.edgeY ? kBottom : 0u;
    where |= v.y > v.w * batch.edgeY ? kTop : 0u;
    return where;
}

// Appends one point, segment or triangle to the run of its kind, unless it cannot light a pixel.
void emit(GLenum kind, std::initializer_list<const Placed*> corners) {
    unsigned all = ~0u;
    unsigned any = 0;
    for (const Placed* c : corners) {
        all &= c->where;
        any |= c->where;
    }
    if ((any & kNotFinite) != 0 || (all & (kLeft | kRight | kBottom | kTop)) != 0) {
        ++batch.dropped;
        return;
    }
    if (batch.runs.empty() || batch.runs.back().mode != kind) {
        batch.runs.push_back({kind, static_cast<int>(batch.vertices.size()), 0});
    }
    for (const Placed* c : corners) {
        batch.vertices.push_back(c->vertex);
    }
    batch.runs.back().count += static_cast<int>(corners.size());
}

float clamped(float channel) {
    return channel > 1.0f ? 1.0f : (channel > 0.0f ? channel : 0.0f);
}

} // namespace

void batchViewport(int width, int height) {
    batch.edgeX = 1.0f + 2.0f / static_cast<float>(width);
    batch.edgeY = 1.0f + 2.0f / static_cast<float>(height);
}

void batchMatrixMode(GLenum mode) {
    batch.projectionMode = mode == GL_PROJECTION;
}

void batchLoadIdentity() {
    std::copy(kIdentity, kIdentity + 16, currentMatrix());
}

void batchTranslate(double x, double y, double z) {
    float* m = currentMatrix();
    for (int row = 0; row < 4; ++row) {
        m[12 + row] = static_cast<float>(m[row] * x + m[4 + row] * y + m[8 + row] * z +
                                         static_cast<double>(m[12 + row]));
    }
}

void batchScale(float x, float y, float z) {
    float* m = currentMatrix();
    for (int row = 0; row < 4; ++row) {
        m[row] = m[row] * x;
        m[4 + row] = m[4 + row] * y;
        m[8 + row] = m[8 + row] * z;
    }
}

void batchOrtho(double left, double right, double bottom, double top, double nearVal,
                double farVal) {
    // The orthographic matrix is itself rounded to single precision before it is applied.
    float ortho[16] = {};
    ortho[0] = static_cast<float>(2.0 / (right - left));
    ortho[5] = static_cast<float>(2.0 / (top - bottom));
    ortho[10] = static_cast<float>(-2.0 / (farVal - nearVal));
    ortho[12] = static_cast<float>(-(left + right) / (right - left));
    ortho[13] = static_cast<float>(-(top + bottom) / (top - bottom));
    ortho[14] = static_cast<float>(-(farVal + nearVal) / (farVal - nearVal));
    ortho[15] = 1.0f;
    multiply(currentMatrix(), ortho);
}

void batchColour(float red, float green, float blue, float alpha) {
    batch.colour[0] = clamped(red);
    batch.colour[1] = clamped(green);
    batch.colour[2] = clamped(blue);
    batch.colour[3] = clamped(alpha);
}

void batchBegin(GLenum mode) {
    batch.open = true;
    batch.mode = mode;
    batch.given = 0;
}

void batchVertex(float x, float y, float z, float w) {
    if (!batch.open) {
        return; // a vertex outside glBegin..glEnd draws nothing
    }
    const float in[4] = {x, y, z, w};
    float eye[4];
    float clip[4];
    transform(batch.modelview, in, eye);
    transform(batch.projection, eye, clip);
    const BatchVertex vertex{clip[0],         clip[1],         clip[2],         clip[3],
                             batch.colour[0], batch.colour[1], batch.colour[2], batch.colour[3]};
    const Placed current{vertex, whereIs(vertex)};

    const int n = batch.given;
    switch (batch.mode) {
    case GL_POINTS:
        emit(GL_POINTS, {&current});
        break;
    case GL_LINES:
        if (n % 2 == 1) {
            emit(GL_LINES, {&previous, &current});
        }
        break;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
        if (n >= 1) {
            emit(GL_LINES, {&previous, &current});
        }
        break;
    case GL_TRIANGLES:
        if (n % 3 == 2) {
            emit(GL_TRIANGLES, {&beforePrevious, &previous, &current});
        }
        break;
    case GL_TRIANGLE_STRIP:
        // Every other triangle is turned around, so that all of them face the same way.
        if (n >= 2) {
            if (n % 2 == 0) {
                emit(GL_TRIANGLES, {&beforePrevious, &previous, &current});
            } else {
                emit(GL_TRIANGLES, {&previous, &beforePrevious, &current});
            }
        }
        break;
    case GL_TRIANGLE_FAN:
    case GL_POLYGON:
        if (n >= 2) {
            emit(GL_TRIANGLES, {&first, &previous, &current});
        }
        break;
    default:
        break;
    }
    if (n == 0) {
        first = current;
    }
    beforePrevious = previous;
    previous = current;
    ++batch.given;
}

void batchEnd() {
    if (batch.open && batch.mode == GL_LINE_LOOP && batch.given >= 2) {
        emit(GL_LINES, {&previous, &first}); // the closing segment
    }
    batch.open = false;
}

void batchClear() {
    batch.vertices.clear();
    batch.runs.clear();
}
