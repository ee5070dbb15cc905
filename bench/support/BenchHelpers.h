#pragma once

#include <QString>

#include <functional>

class RichTextBox;

constexpr qsizetype megabyte = 1024 * 1024;

/// At least size characters of numbered short lines, the same for every run.
QString textOf(qsizetype size);

/// Writes the editor's document to path as Save does; false when it could not.
bool saveDocument(RichTextBox& editor, const QString& path);

/// Peak resident memory of this process so far, in kilobytes.
double peakKilobytes();

/// Runs the benchmarks the command line asks for inside an application object; beforeQuit runs
/// after them while that object still exists, so it can close the benchmarks' windows.
int runBenchmarks(int argc, char** argv, const std::function<void()>& beforeQuit = {});
