#include "native_platform.h"

#include <cstdio>
#include <map>
#include <memory>
#include <set>

#include "native_resources.h"
#include "platform.h"

namespace {

struct NativeState {
    // Strings of the overrides; each is kept alive until the process ends so
    // that returned bytes stay valid, as resources of an executable do.
    std::map<int, std::shared_ptr<const std::string>> overrides;
    std::vector<std::shared_ptr<const std::string>> retired;
    std::set<int> removed;
    std::vector<NativeMessage> messages;
    int shutdowns = 0;
};

NativeState& state() {
    static NativeState s;
    return s;
}

}  // namespace

void nativeSetTextResource(int id, std::string bytes) {
    auto& s = state();
    auto text = std::make_shared<const std::string>(std::move(bytes));
    auto& slot = s.overrides[id];
    if (slot) {
        s.retired.push_back(slot);
    }
    slot = text;
    s.removed.erase(id);
}

void nativeRemoveTextResource(int id) {
    auto& s = state();
    auto it = s.overrides.find(id);
    if (it != s.overrides.end()) {
        s.retired.push_back(it->second);
        s.overrides.erase(it);
    }
    s.removed.insert(id);
}

void nativeResetTextResources() {
    auto& s = state();
    for (auto& entry : s.overrides) {
        s.retired.push_back(entry.second);
    }
    s.overrides.clear();
    s.removed.clear();
}

const std::vector<NativeMessage>& nativeMessages() {
    return state().messages;
}

void nativeClearMessages() {
    state().messages.clear();
}

int nativeShutdownCount() {
    return state().shutdowns;
}

ResourceBytes platformTextResource(int id) {
    auto& s = state();
    if (s.removed.count(id) != 0) {
        return {nullptr, 0};
    }
    auto it = s.overrides.find(id);
    if (it != s.overrides.end()) {
        return {it->second->data(), it->second->size()};
    }
    for (std::size_t i = 0; i < nativeResourceCount; ++i) {
        if (nativeResources[i].id == id) {
            return {nativeResources[i].data, nativeResources[i].size};
        }
    }
    return {nullptr, 0};
}

void platformShowMessage(const char* text, const char* caption) {
    std::fprintf(stderr, "[%s] %s\n", caption, text);
    std::fflush(stderr);
    state().messages.push_back({caption, text});
}

void platformShutdownWindowing() {
    ++state().shutdowns;
}
