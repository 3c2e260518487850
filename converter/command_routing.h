// Routes a command to the handler that a table names for its control, as a message map does.
// True when one did.
#pragma once

#include <functional>
#include <initializer_list>
#include <utility>

inline bool RouteCommand(int nID, std::initializer_list<std::pair<int, std::function<void()>>> handlers) {
    for (const auto& [id, handler] : handlers) {
        if (id != nID) continue;
        handler();
        return true;
    }
    return false;
}
