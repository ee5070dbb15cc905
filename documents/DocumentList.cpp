#include "documents/DocumentList.h"

#include "app/frmVellumo.h"

#include <QComboBox>

DocumentList::DocumentList(frmVellumo& window) : QObject(&window), m_window(window) {}

void DocumentList::startup()
{
    m_window.cmbFiles()->setCurrentIndex(0);
    m_window.setWindowTitle(frmVellumo::captionFor(m_window.cmbFiles()->currentText()));
}

bool DocumentList::confirmClose()
{
    return true;
}
