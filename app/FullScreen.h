#pragma once

#include <QObject>
#include <QRect>

class QAction;
class QComboBox;
class QMainWindow;
class QMenuBar;
class QStatusBar;
class QTimer;
class QToolBar;
class RichTextBox;

/// Full screen: the window covers its screen with the text alone, in a column of a
/// comfortable width. The menu bar and the toolbar come back while the pointer rests at the top
/// edge, the list and the status bar at the bottom one. The menu bar folds to no height rather
/// than hiding, so its access keys and every entry's shortcut still work.
class FullScreen : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        QMenuBar* menu;
        QToolBar* toolbar;
        QComboBox* list;
        QStatusBar* status;
    };

    /// mnuFullScreen is View > Full Screen, whose check mark says whether it is on.
    FullScreen(QMainWindow& window, RichTextBox& editor, const Controls& controls,
               QAction& mnuFullScreen, QObject* parent = nullptr);

    bool isOn() const { return m_on; }
    /// The window's outer geometry before it went full screen.
    QRect normalOuter() const { return m_normalOuter; }
    void mnuFullScreen_Click();
    /// Lays the text and the controls shown out over the whole client area.
    void layOut();

signals:
    /// Full screen came on or went off; the window lays itself out again.
    void changed();

private:
    void tmrEdge_Timer();
    void showTop(bool shown);
    void showBottom(bool shown);

    QMainWindow& m_window;
    RichTextBox& m_editor;
    Controls m_controls;
    QAction& m_mnuFullScreen;
    QTimer* m_tmrEdge;
    QRect m_normalOuter;
    /// Where the editor stands in the normal layout, which never moves it.
    QPoint m_editorPlace;
    Qt::WindowStates m_stateBefore;
    int m_restingPolls = 0;
    bool m_on = false;
};
