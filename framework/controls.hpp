#pragma once
// The standard controls, bound to dialog items by SubclassDlgItem or
// DDX_Control. They add nothing but names; derived classes add behaviour.
#include "framework/wnd.hpp"

class CEdit : public CWnd {};
class CStatic : public CWnd {};
class CButton : public CWnd {};
