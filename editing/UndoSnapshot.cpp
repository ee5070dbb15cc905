#include "editing/UndoSnapshot.h"

#include "app/frmVellumo.h"

UndoSnapshot::UndoSnapshot(frmVellumo& window) : QObject(&window), m_window(window) {}

void UndoSnapshot::changeundo() {}

void UndoSnapshot::mnuUndo_Click() {}
