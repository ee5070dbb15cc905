#include "platform/PlaceRestorer.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <utility>

namespace {

// Long enough to get on, short enough that a key pressed meanwhile shows at once.
constexpr qint64 s_sliceMs = 15;
// Characters laid out between looks at the clock.
constexpr qint64 s_step = 16384;

} // namespace

PlaceRestorer::PlaceRestorer(QTextEdit& editor, std::function<void(const TextPlace&)> setPlace,
                             QObject* parent)
    : QObject(parent), m_editor(editor), m_setPlace(std::move(setPlace))
{
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &PlaceRestorer::layOutSlice);
}

void PlaceRestorer::restore(const TextPlace& place)
{
    m_place = place;
    m_laidOut = 0;
    layOutSlice();
}

void PlaceRestorer::cancel()
{
    m_timer->stop();
}

void PlaceRestorer::layOutSlice()
{
    QTextDocument* document = m_editor.document();
    const qint64 end = qMin<qint64>(m_place.shownEnd, document->characterCount() - 1);
    QElapsedTimer slice;
    slice.start();
    while (m_laidOut < end && slice.elapsed() < s_sliceMs) {
        m_laidOut = qMin(end, m_laidOut + s_step);
        document->documentLayout()->blockBoundingRect(document->findBlock(int(m_laidOut)));
    }
    if (m_laidOut < end)
        m_timer->start();
    else
        m_setPlace(m_place);
}
