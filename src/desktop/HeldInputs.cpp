#include "desktop/HeldInputs.h"

#include <algorithm>

void HeldInputs::Pressing(const Input& input)
{
    if (!IsHeld(input))
        m_held.push_back(input);
    if (m_listener)
        m_listener(input, true);
}

void HeldInputs::Released(const Input& input)
{
    std::erase(m_held, input);
    if (m_listener)
        m_listener(input, false);
}

bool HeldInputs::IsHeld(const Input& input) const
{
    return std::find(m_held.begin(), m_held.end(), input) != m_held.end();
}
