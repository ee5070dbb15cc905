#pragma once

#include <QObject>

class QAction;
class RichTextBox;

/// The tint over the seed words the text marks as the injection wrote them
/// (TextProperties::SeedRun), and what keeps that mark theirs: what the writer types, over or
/// beside them, is the writer's own and never takes the mark.
class SeedMarks : public QObject
{
    Q_OBJECT

public:
    /// mnuShowSeedText is View > Show Seed Text, whose check mark says whether the tint shows.
    SeedMarks(RichTextBox& editor, QAction& mnuShowSeedText, QObject* parent = nullptr);

    bool isShown() const;
    void setShown(bool shown);
    void mnuShowSeedText_Click();

private:
    RichTextBox& m_editor;
    QAction& m_mnuShowSeedText;
};
