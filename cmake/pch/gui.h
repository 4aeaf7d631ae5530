// The core set and the Qt Gui headers the drawing layer's users parse
// (cmake/pch/core.h says how the set is used).
#pragma once
#include "core.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
