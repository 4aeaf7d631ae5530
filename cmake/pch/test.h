// What every test program's sources parse on top of their layer's set:
// GoogleTest and GoogleMock.
#pragma once
#include <gmock/gmock.h>
#include <gtest/gtest.h>
