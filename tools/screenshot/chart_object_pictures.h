// The chip distribution on and off the technical-analysis page, drawn into
// a memory DC with the running program's scheme over a seeded run of bars,
// so both states show side by side. Taken by the screenshot run once the
// main frame is up. (The time-share chart, the K-line chart and its
// drawing tools are pictured in the chart view itself, from the simulator.)
#pragma once
#include <QImage>
#include <functional>
#include <string>

using KeepImage = std::function<void(const std::string& name, const QImage& image)>;

// The pictures kept (of one).
int PictureCharts(const KeepImage& keep);
