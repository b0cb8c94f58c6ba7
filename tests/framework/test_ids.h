// Templates and items of the framework tests' own resources.
#pragma once
#define IDD_TEST_DIALOG 900
#define IDC_TEST_EDIT 901
#define IDC_TEST_STATIC 902
#define IDC_TEST_BUTTON 903
