// Plugs the display framework's views into the shell: the market pane gets
// the quote list (the chart view joins when it exists), and the column
// scroll bars clip the cursor to the active view while their thumb is
// dragged. The program calls it before its start-up.
#pragma once

void RegisterMarketViews();
