// The two close controls: "×" on the first panel and the close button of the second panel.
#pragma once

void on_close_mark_released(int x, int y, int keys);
void on_close_button_clicked();
