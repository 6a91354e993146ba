// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Qt takes the C library's locale from the environment when the application
// is made; under ru_RU the C library then writes 1318,49, and the libraries
// that write files with it (the spreadsheet writer) write files no reader
// takes. The program's own texts never come from the C library's numbers, so
// numbers keep the C form for the whole run. Called right after the
// application object is made, by the window and the command line alike.
void keepNumbersInCForm();

// The same for this thread while it lives, whatever the process's locale:
// a writer that formats numbers through the C library (the spreadsheet
// writer) holds one, so it writes the same bytes under any locale and from
// any caller, the tests too.
class NumbersInCForm {
public:
    NumbersInCForm();
    ~NumbersInCForm();
    NumbersInCForm(const NumbersInCForm &) = delete;
    NumbersInCForm &operator=(const NumbersInCForm &) = delete;

private:
    void *c_, *before_; // locale_t
};
