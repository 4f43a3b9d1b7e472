#pragma once
// The program keeps its file dialogs for reuse and only hides them. A dialog completes a typed
// file name in a pop-up list, and Qt may open that list late, once the folder has been read; by
// then Enter may have closed the dialog, and the list stays over the main window and eats the
// next click. Tying the lists to their dialog keeps them shown only while the dialog is.
class QFileDialog;

void TieCompletionToDialog(QFileDialog* dialog);
