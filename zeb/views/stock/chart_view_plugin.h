// Plugs the chart view into the shell's market pane (page 512). The program
// calls it before its start-up, beside the quote list's registration.
#pragma once

void RegisterChartView();
