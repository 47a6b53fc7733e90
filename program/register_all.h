// Every windows library's entries in the window registry, in the order the
// program fills them; the program and the window tests call this one list.
#pragma once

void register_all_windows();
