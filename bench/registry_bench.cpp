// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The registry store with one key of 60,000 values: storing them in one
// change, then ReadRegKey of one value and EnumerateRegKeyValues of the key
// through the Registry class's slots, each reading the whole root again. Each
// should take well under a second (goal 0.5 s of processor time: "ok", else
// "SHORT"); finding values by a search of a list made each quadratic.
#include "bench/benchutil.h"
#include "lib/registry/registry.h"
#include "platform/com/bstr.h"
#include "platform/registry/registrystore.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

using namespace mrb::platform;

namespace
{

constexpr int valueCount = 60'000;
constexpr double goalSeconds = 0.5;
constexpr std::int32_t currentUser = static_cast<std::int32_t>(0x80000001u);
const char *const keyPath = "Software\\Bench\\Many";

bool report(const char *what, const std::function<void()> &run)
{
    const double seconds = mrb::bench::timed(run).cpu;
    const bool ok = seconds <= goalSeconds;
    std::printf("%-46s %.3f s  goal %.1f s  %s\n", what, seconds, goalSeconds, ok ? "ok" : "SHORT");
    return ok;
}

} // namespace

int main()
{
    mrb::bench::ScratchFolder scratch("registry");
    ::setenv("QFC_REGISTRY_DIR", scratch.path().c_str(), 1);
    bool ok = true;

    ok &= report("store 60,000 values in one key, one change", [] {
        RegistryStore().update(RegistryRoot::CurrentUser, [](RegistryKey &root) {
            RegistryKey &key = root.create(keyPath);
            for (int i = 0; i < valueCount; ++i)
                key.setValue("value " + std::to_string(i), RegValue::string("text " + std::to_string(i)));
            return true;
        });
    });

    auto *registry = new qfc::Registry();
    // Every argument is by reference; the operations leave them as they are.
    std::int32_t root = currentUser;
    const Bstr path(keyPath);
    const Bstr name("VALUE " + std::to_string(valueCount - 1));
    BSTR pathArg = path.get();
    BSTR nameArg = name.get();
    BSTR noneArg = nullptr;
    std::string answer;
    ok &= report("ReadRegKey of the last value", [&] {
        Bstr result;
        registry->iface()->lpVtbl->ReadRegKey(registry->iface(), &root, &pathArg, &nameArg, &noneArg, result.out());
        answer = result.utf8();
    });
    std::printf("  (%s)\n", answer.c_str());

    std::size_t length = 0;
    ok &= report("EnumerateRegKeyValues of the key", [&] {
        Bstr result;
        registry->iface()->lpVtbl->EnumerateRegKeyValues(registry->iface(), &root, &pathArg, result.out());
        length = SysStringLen(result.get());
    });
    std::printf("  (%zu characters)\n", length);

    registry->release();
    return ok ? 0 : 1;
}
