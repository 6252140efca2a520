#include "app/App.h"

wxIMPLEMENT_APP(sw::CSetwrightApp);
