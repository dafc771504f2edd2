#pragma once

#include <QString>

#include <functional>

class QAbstractButton;
class QKeySequence;
class QLabel;
class QWidget;

// What a screen reader announces for the controls of a window. A control that takes the focus must have a name;
// an entry box that hands its focus to an editor inside carries the name on both, so that the reader finds it
// on whichever it asks.

// A caption as a name: without its access-key mark ("&&" stays a literal "&"), line breaks as blanks, trimmed,
// and without the "*" that marks a required entry or a closing colon.
QString CaptionAsName(const QString& caption);

void SetAccessibleName(QWidget* control, const QString& name);
void SetAccessibleDescription(QWidget* control, const QString& description);

// Links a caption to the control it names: the label becomes the control's buddy (so the label's access key,
// if any, moves the focus there) and the control takes the caption as its name.
void LinkCaption(QLabel* caption, QWidget* control);

// A required entry is announced as one, not only shown by the red of its caption.
void SetRequired(QWidget* control, bool required);

// Shows a top-level window of plain widgets to screen readers as a frame with its caption as its name, as dialogs
// already are. Call it in the window's constructor, before anything asks about the window.
void ShowAsFrame(QWidget* window);

// Readers meet the owner-drawn buttons through an interface of their own, and plain-widget windows as frames.
// Each button installs these as it is made; installing again does nothing.
void InstallAccessibleFactories();

// While a button only tells the user what to do (it is disabled and its caption is an instruction), readers
// meet it as a line of text rather than as an unavailable button.
void ShowAsInstruction(QWidget* button, bool on);

// A standard key of the desktop (Ctrl+Q, Ctrl+P) presses the window's command for it, so that the key follows the
// command's own rules: nothing happens while the command is hidden or unavailable. command chooses the button
// when the key is pressed, and may choose none.
void PressOnKeys(QWidget* window, const QKeySequence& keys, const std::function<QAbstractButton*()>& command);

// A photograph is described by whom it shows ("Photograph of Able, Al"), not by its file; no one, no description.
void DescribePhotograph(QWidget* picture, const QString& whose);
