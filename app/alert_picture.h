// The desktop alerts' picture (resource "ALERTPICTURE", drawn by
// resources/make_alert_picture.py): a hard disk with a warning sign, 32 x 32,
// on magenta that the alert leaves out.
#pragma once

class TPicture;

// Picture stays empty when the program file carries no such resource: an
// alert without its picture still says what is wrong.
void LoadAlertPicture(TPicture* Picture);
