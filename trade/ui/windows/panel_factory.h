// The one place that knows which panel class serves which function: the
// trading main dialog asks it for a new panel on every switch. A function
// outside the table gets nothing.
#pragma once
#include <memory>

#include "trade/ui/windows/trade_panel.h"

// The panel of function 0-29 (its mode, side or page set from the function
// table), not yet created as a window; nullptr outside 0-29.
std::unique_ptr<CTradePanel> CreateTradePanel(int functionIndex, const STradeWindowEnv& env);
