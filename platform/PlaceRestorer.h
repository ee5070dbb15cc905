#pragma once

#include "platform/TextPlace.h"

#include <QObject>

#include <functional>

class QTextEdit;
class QTimer;

/// Puts the writer back where they were in a document just shown. QTextEdit lays a document out
/// anew whenever it shows it, and the view can only go to what is laid out: in a long document
/// that takes seconds, so the layout is brought to the place a slice at a time while the window
/// answers in between.
class PlaceRestorer : public QObject
{
    Q_OBJECT

public:
    /// setPlace puts the selection and the view at a place once it is laid out.
    PlaceRestorer(QTextEdit& editor, std::function<void(const TextPlace&)> setPlace,
                  QObject* parent = nullptr);

    /// Goes to place now if it is laid out soon enough, else once it is.
    void restore(const TextPlace& place);
    /// Gives up a place not reached yet: the writer has chosen another, or another document.
    void cancel();

private:
    void layOutSlice();

    QTextEdit& m_editor;
    std::function<void(const TextPlace&)> m_setPlace;
    QTimer* m_timer = nullptr;
    TextPlace m_place;
    /// How far the layout is known to reach.
    qint64 m_laidOut = 0;
};
