// MainForm's stored description alone (window/main_form_description.cpp),
// for what builds its window without the board or the forms runtime.
#pragma once

#include "forms/description.h"

const forms::Form& MainFormDescription();
