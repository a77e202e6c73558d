#pragma once

#include <QString>

class QTextEdit;

namespace mipofc {

// A text document holds every character one to one, but as block separators it holds \n, \r,
// U+2029 and the frame marks U+FDD0 / U+FDD1 alike, and its plain text turns U+00A0 into a space
// and U+2028 into a line break. So the memo's exact text is kept beside its document: the
// document shows each character (those five as a line break), and each change of the document
// is taken into the exact text by position. Characters that the change did not touch keep
// what they were; typed and pasted characters are what the document holds, its block
// separators as \n. Ctrl+Z is the document's own: what it brings back it brings back as the
// document holds it, so a frame mark (U+FDD0, U+FDD1) that an undone edit had removed returns
// as a line break.

/// Keeps memo's exact text from now on: what SetMemoText gives it and every change after.
void KeepMemoText(QTextEdit& memo);
/// The characters memo holds, exactly as loaded or typed; line breaks as \n (or as loaded).
QString MemoText(const QTextEdit& memo);
/// Gives memo the text; undoable makes it one edit that Ctrl+Z takes back, otherwise the
/// memo starts again from it (no undo history).
void SetMemoText(QTextEdit& memo, const QString& text, bool undoable = false);

}  // namespace mipofc
