// The question asked before an order goes: a message box in the side's
// colours with the order in bold, its legs in a list, an extra button that
// sends and keeps the ticket, and a check box that stops the question for
// good (remembered across runs).
#pragma once

#include "framework/String.h"

#include <vector>

struct OrderSummary {
    bool buy = true;
    CString quantity;
    CString symbol;
    CString type;       // "Limit", "Bracket", ...
    CString duration;   // "day order", ...
    // One line per leg: the entry, and for a bracket its stop loss and take
    // profit.
    std::vector<CString> legs;
};

enum class OrderAnswer { Send, SendAndKeep, Cancel };

// Asks, unless the user asked not to be asked again (then Send).
OrderAnswer ConfirmOrder(const OrderSummary& order);
