#include "model/target_description.h"

namespace tapster {

std::string describe_target(const Target& target) {
    if (target.malformed_conditions) {
        return "Presses nothing: its program or message is not written as Tapster reads them.";
    }
    if (!target.pressable()) {
        return "Presses nothing: it lacks the button's identifier, which only a recording "
               "gives. Record the button again.";
    }
    std::string text = target.accessible ? "Presses the drawn button " : "Presses ";
    text += target.button_text.empty() ? std::string("without text") : target.button_text;
    text += target.title.empty() ? " in a window without a title" : " in '" + target.title + "'";
    if (!target.program.empty()) {
        text += " (" + target.program + ")";
    }
    if (!target.message.empty()) {
        text += " when it says '" + target.message + "'";
    }
    if (target.forced) {
        text += ", then clicks the mouse in the corner of the screen";
    }
    return text + ".";
}

}  // namespace tapster
