// The configuration command of the main window.
#include "app/Unit1.h"
#include "settings/Unit2.h"

// A new dialog each time, released when it closes. Nothing is reloaded afterwards:
// the dialog has worked on the settings in memory, whichever button closed it.
void TForm1::Configuration1Click()
{
    TForm2 Form2(*this);
    Form2.ShowModal();
}
