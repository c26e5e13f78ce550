// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class FormRegistry;

// Tells the registry how to build each form of the program.
void defineForms(FormRegistry &forms);
