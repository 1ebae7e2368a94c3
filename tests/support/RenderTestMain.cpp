#include "support/TestMain.h"

#include <QGuiApplication>

int main(int argc, char** argv) { return runTestsOffscreen<QGuiApplication>(argc, argv); }
