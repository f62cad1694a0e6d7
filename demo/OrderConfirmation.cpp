#include "OrderConfirmation.h"

#include "controls/win/HookedMsgBox.h"

namespace {

// The message number under which "do not ask again" is remembered.
const int kConfirmMessageId = 1;
const UINT kSendAndKeep = CHookedMsgBox::FirstExtraId;

struct SideColours {
    COLORREF border;
    COLORREF background;
};

} // namespace

OrderAnswer ConfirmOrder(const OrderSummary& order)
{
    const SideColours colours = order.buy ? SideColours {RGB(0, 128, 0), RGB(230, 244, 230)}
                                          : SideColours {RGB(176, 0, 0), RGB(250, 232, 232)};
    CString colourTag;
    colourTag.Format("<Colors BorderClr=\"%lu\" OrdBkgndClr=\"%lu\"/>", static_cast<unsigned long>(colours.border),
                     static_cast<unsigned long>(colours.background));
    CString text = CHookedMsgBox::CreateExtraButtonTag(kSendAndKeep, "Send and keep ticket") + colourTag;
    CString headline;
    headline.Format("Send this order?\n\n<b>%s %s %s</b>, %s, %s.\n\n", order.buy ? "Buy" : "Sell",
                    order.quantity.GetString(), order.symbol.GetString(), order.type.GetString(),
                    order.duration.GetString());
    text += headline;
    for (std::size_t i = 0; i < order.legs.size(); ++i) {
        if (i == 0)
            text += "<lb>";
        text += order.legs[i];
        text += i + 1 == order.legs.size() ? "</lb>" : "\n";
    }
    const int answer = CHookedMsgBox::AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION, 0, kConfirmMessageId,
                                                    "Send without asking from now on");
    switch (answer) {
    case IDYES:
    case CHookedMsgBox::SuppressedByAnswer:
        return OrderAnswer::Send;
    case int(kSendAndKeep):
        return OrderAnswer::SendAndKeep;
    default:
        return OrderAnswer::Cancel;
    }
}
