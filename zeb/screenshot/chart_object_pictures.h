// Pictures of the chart objects the running chart view cannot show yet,
// drawn into memory DCs with the running program's scheme: they need the
// K-line chart's bars, which is not built, so a seeded run of bars stands
// in. The chip distribution on and off the technical-analysis page, and
// one of each drawing tool over the bars. Taken by the screenshot run once
// the main frame is up. (The time-share chart is pictured in the chart
// view itself, from the simulator.)
#pragma once
#include <QImage>
#include <functional>
#include <string>

using KeepImage = std::function<void(const std::string& name, const QImage& image)>;

// The pictures kept (of two).
int PictureCharts(const KeepImage& keep);
