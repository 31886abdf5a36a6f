#include "app/app.h"
#include "sprites/sprites.h"
#include "timer/frame_timer.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

void initGL() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0.0, 720.0, 0.0, 576.0);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glShadeModel(GL_SMOOTH);
}

void displayFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_BLEND);
    frameTimer.tick();
    // Both lists are moved (and faded sprites erased) before either is drawn; outline sprites
    // are drawn last, over the filled ones.
    moveSprites(filledSprites, frameTimer.getElapsedSeconds(), 0);
    moveSprites(outlineSprites, frameTimer.getElapsedSeconds(), 1);
    drawSprites(filledSprites);
    drawSprites(outlineSprites);
    glDisable(GL_BLEND);
    glColor3f(1.0f, 1.0f, 1.0f);
    glFlush();
    glutSwapBuffers();
}

void onIdle() {
    glutPostRedisplay();
}
