// Pictures of the chart objects of this program drawn into memory DCs with
// the running program's scheme and store: the time-share chart of an item
// with the information panel's two small charts, the chip distribution on
// and off the technical-analysis page, and one of each drawing tool over
// a run of bars. Taken by the screenshot run once the main frame is up.
#pragma once
#include <QImage>
#include <functional>
#include <string>

using KeepImage = std::function<void(const std::string& name, const QImage& image)>;

// The pictures kept (of three).
int PictureCharts(const KeepImage& keep);
