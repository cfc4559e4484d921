#pragma once

#include <span>

// The Italian interface texts of the grid, the filter dialogs and the grid's
// export, which replace the components' built-in English texts.
struct InterfaceText
{
    const char16_t* component; // the built-in English wording
    const char16_t* shown;
};

// The registrations, in their order.
std::span<const InterfaceText> interfaceTexts();

// Registers every interface text in the component text registry. Runs once at
// start-up, before any component shows a text.
void ApplyInterfaceTexts();
