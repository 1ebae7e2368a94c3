#include "support/TestMain.h"

#include <QApplication>

int main(int argc, char** argv) { return runTestsOffscreen<QApplication>(argc, argv); }
