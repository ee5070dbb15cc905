#include "editing/FormatCommands.h"

#include "app/frmVellumo.h"

FormatCommands::FormatCommands(frmVellumo& window) : QObject(&window), m_window(window) {}
