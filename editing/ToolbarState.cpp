#include "editing/ToolbarState.h"

#include "app/frmVellumo.h"

ToolbarState::ToolbarState(frmVellumo& window) : QObject(&window), m_window(window) {}
