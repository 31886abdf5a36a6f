#pragma once
// The browser build's batching GL layer, the recorder half: the program's immediate-mode calls
// (glBegin, glVertex, glEnd, colours, the modelview and projection matrices) become one array of
// vertices already in clip coordinates, each with its colour, and a short list of runs of one
// primitive kind. wraps.cpp defines the GL entry points on top of it and draws the array through
// WebGL. Plain data and free functions, no GL calls: a desktop test reads back what it records.

#include <GL/gl.h>

#include <vector>

// One vertex as the GPU receives it: its clip coordinates (projection times modelview times the
// vertex, in single precision and in the order a vertex shader multiplies) and the colour that
// was current when it was given, each channel clamped to 0..1.
struct BatchVertex {
    float x, y, z, w;
    float red, green, blue, alpha;
};

// Primitives of one kind (GL_POINTS, GL_LINES or GL_TRIANGLES) in vertices [first, first+count).
struct BatchRun {
    GLenum mode;
    int first;
    int count;
};

// What the recorder holds. Matrices are column-major, as GL stores them.
struct Batch {
    float modelview[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float projection[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    bool projectionMode = false; // glMatrixMode(GL_PROJECTION) is in force
    float colour[4] = {1, 1, 1, 1};

    // The primitive between glBegin and glEnd: its mode and how many vertices it has had.
    bool open = false;
    GLenum mode = GL_POINTS;
    int given = 0;

    // A primitive whose vertices all lie beyond one edge by more than a pixel is dropped: in
    // clip coordinates, beyond +-w times these factors (1 + one pixel; infinite, and so never,
    // until the viewport is known).
    float edgeX = 1.0f / 0.0f;
    float edgeY = 1.0f / 0.0f;

    std::vector<BatchVertex> vertices;
    std::vector<BatchRun> runs;

    // Totals since the start, for the benchmark: primitives dropped here; vertices and draw calls
    // sent to the GPU and the milliseconds spent sending them (counted by the drawing side).
    long dropped = 0;
    long sentVertices = 0;
    long drawCalls = 0;
    double sendingMilliseconds = 0.0;
};

extern Batch batch;

// The viewport's size in pixels, for the one-pixel margin of the edge test.
void batchViewport(int width, int height);

// glMatrixMode: GL_PROJECTION selects the projection matrix, anything else the modelview.
void batchMatrixMode(GLenum mode);
// glLoadIdentity, glTranslated, glScalef, glOrtho on the selected matrix, rounded to single
// precision after each operation, as the GL stores its matrices.
void batchLoadIdentity();
void batchTranslate(double x, double y, double z);
void batchScale(float x, float y, float z);
void batchOrtho(double left, double right, double bottom, double top, double nearVal,
                double farVal);

// glColor4f: the colour of the vertices that follow.
void batchColour(float red, float green, float blue, float alpha);

// glBegin, glVertex4f, glEnd. Polygons and triangle fans become triangles from their first
// vertex, line strips and loops become separate segments, and each complete point, segment or
// triangle is appended at once, unless it cannot light a pixel: a vertex that is not finite, or
// every vertex beyond the same edge of the viewport by more than a pixel. Modes other than
// points, lines, line strips and loops, triangles, fans and polygons record nothing.
void batchBegin(GLenum mode);
void batchVertex(float x, float y, float z, float w);
void batchEnd();

// Empties the vertex array and the runs once they have been drawn; the matrices, the colour and
// an open primitive stay.
void batchClear();
