#pragma once

// What the window tests use of Qt and the test framework, in one place.
#include "support/ScriptedPrompter.h"

#include <QtTest>
#include <QtWidgets>
#include <gtest/gtest.h>
