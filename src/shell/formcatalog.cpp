#include "formcatalog.h"

#include "shell/formregistry.h"

// One line per form: its name and how to build it.
void defineForms(FormRegistry &forms)
{
    (void)forms;
}
