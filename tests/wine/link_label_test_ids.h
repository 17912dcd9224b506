#pragma once
// The test dialog of the link label tests.

#define IDD_LINKS 200

#define IDC_LEFT 210
#define IDC_RIGHT 211
#define IDC_CENTRED 212
#define IDC_EMPTY 213
#define IDC_CENTRE_IMAGE 214
