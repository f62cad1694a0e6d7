// CStartupLog and CStartupStep: the record of the steps that build the
// library's static objects when it loads, undone step by step when it
// unloads.
#pragma once

#include "OrvApi.h"

// The names of the steps completed so far, in the order they completed.
// It holds only pointers to literal names and counters, so a log at
// namespace scope is ready before any object of the library is built
// (constant initialisation) and needs no destruction.
class ORV_API CStartupLog {
public:
    enum { MaxSteps = 24 };

    constexpr CStartupLog() noexcept = default;

    CStartupLog(const CStartupLog&) = delete;
    CStartupLog& operator=(const CStartupLog&) = delete;

    int GetCount() const noexcept;
    // The name of step `index` (0 is the first); null outside 0..GetCount()-1.
    const char* GetStep(int index) const noexcept;
    // False once a step was undone that was not the last one standing (or
    // was never recorded), or a step found the log full; such a step is
    // still removed, or left out when full.
    bool IsInOrder() const noexcept;

    // Appends `name`, which must live as long as the log (a literal).
    void Record(const char* name) noexcept;
    // Removes the last step of that name (the same pointer).
    void Undo(const char* name) noexcept;

private:
    const char* m_steps[MaxSteps] = {};
    int m_count = 0;
    bool m_bInOrder = true;
};

// One step at namespace scope: its construction runs the action, if any,
// and then records the name; its destruction, in reverse order of
// construction, removes the name again. A step placed right after the
// objects it stands for completes when they are built.
class ORV_API CStartupStep {
public:
    CStartupStep(CStartupLog& log, const char* name, void (*action)() = nullptr);
    ~CStartupStep();

    CStartupStep(const CStartupStep&) = delete;
    CStartupStep& operator=(const CStartupStep&) = delete;

private:
    CStartupLog& m_log;
    const char* m_name;
};
