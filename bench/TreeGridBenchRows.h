// Shared by the tree grid benchmarks: the blotter's shape (accounts of
// positions) and the content of one node.
#pragma once

#include "controls/TreeGridItemInfo.h"

#include <string>

namespace bench {

constexpr int kTreeAccounts = 100;
constexpr int kTreePositions = 99;

// A node's content: its label, a quantity and a P&L.
inline CTreeGridItemInfo* TreeRowInfo(const std::string& label)
{
    auto* info = new CTreeGridItemInfo;
    info->SetItemText(label.c_str());
    info->AddSubItemText("100");
    info->AddSubItemText("0.00");
    return info;
}

// Labels in falling order, so that sorting moves every node.
inline std::string TreeRowLabel(char kind, int n) { return std::string(1, kind) + std::to_string(100000 - n); }

} // namespace bench
