// Identifiers of the UI tests' resources.
#pragma once

#define IDD_TEST_DIALOG 100
#define IDC_TEST_NUMBER 1001
#define IDC_TEST_CHECK 1002
#define IDC_TEST_NAME 1003
#define IDC_TEST_PRICE 1004
#define IDC_TEST_LABEL 1005
#define IDM_TEST_MENU 200
#define ID_TEST_FIRST 2001
#define ID_TEST_SECOND 2002
