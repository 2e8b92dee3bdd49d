#pragma once
// The line of a list page that its handlers act on.
#include "System.h"

class TListBox;

// The selected line of the list and its index; false when the list has no selected line
// (chart/ChannelList.cpp).
bool SelectedLine(TListBox* list, int& index, AnsiString& text);
