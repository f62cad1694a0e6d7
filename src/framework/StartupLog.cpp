#include "framework/StartupLog.h"

int CStartupLog::GetCount() const noexcept
{
    return m_count;
}

const char* CStartupLog::GetStep(int index) const noexcept
{
    return index >= 0 && index < m_count ? m_steps[index] : nullptr;
}

bool CStartupLog::IsInOrder() const noexcept
{
    return m_bInOrder;
}

void CStartupLog::Record(const char* name) noexcept
{
    if (m_count == MaxSteps) {
        m_bInOrder = false;
        return;
    }
    m_steps[m_count++] = name;
}

void CStartupLog::Undo(const char* name) noexcept
{
    int index = m_count - 1;
    while (index >= 0 && m_steps[index] != name)
        --index;
    if (index != m_count - 1)
        m_bInOrder = false;
    if (index < 0)
        return;
    for (int next = index + 1; next < m_count; ++next)
        m_steps[next - 1] = m_steps[next];
    m_steps[--m_count] = nullptr;
}

CStartupStep::CStartupStep(CStartupLog& log, const char* name, void (*action)())
    : m_log(log), m_name(name)
{
    if (action != nullptr)
        action();
    m_log.Record(m_name);
}

CStartupStep::~CStartupStep()
{
    m_log.Undo(m_name);
}
