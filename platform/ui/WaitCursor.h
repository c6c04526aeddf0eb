#pragma once

namespace quorl::ui {

// The hourglass for as long as the object lives. Without a GUI application it
// does nothing, so plain logic may use it freely.
class WaitCursor final {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    bool m_active = false;
};

} // namespace quorl::ui
