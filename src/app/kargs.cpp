// Attribute lists and the identifiers of the library's attributes.
#include "kargs.h"
#include <string.h>

KArgList::KArgList() : count(0) {}

int KArgList::put(int attrib, const KArgVal& v)
{
    if (count >= CAPACITY)
        return -1;
    args[count].attrib = attrib;
    args[count].val = v;
    return count++;
}

int KArgList::set(int attrib, int value)
{
    removeAttrib(attrib);
    return add(attrib, value);
}

void KArgList::removeArg(int index)
{
    if (index < 0 || index >= count)
        return;
    memmove(&args[index], &args[index + 1], (count - index - 1) * sizeof(KArg));
    --count;
}

void KArgList::removeAttrib(int attrib)
{
    for (int i = 0; i < count; ++i) {
        if (args[i].attrib == attrib) {
            removeArg(i);
            return;
        }
    }
}

bool KArgList::isSet(int attrib) const
{
    for (int i = 0; i < count; ++i)
        if (args[i].attrib == attrib)
            return true;
    return false;
}

// Constant-initialised, so it is 0 before any dynamic initialiser below runs.
static int next_attrib = 0;

int GetUniqueAttrib()
{
    return next_attrib++;
}

// Numbered in this order during the library's static initialisation.
extern KORVEL_API const int WA_PROMPT_FW = GetUniqueAttrib();
extern KORVEL_API const int WA_STRIP_SPACES = GetUniqueAttrib();
extern KORVEL_API const int WA_TEXT_FONT = GetUniqueAttrib();
extern KORVEL_API const int WA_TEXT_LEFT_MARGIN = GetUniqueAttrib();
extern KORVEL_API const int WA_TEXT_RIGHT_MARGIN = GetUniqueAttrib();
extern KORVEL_API const int WA_TEXT_OFFSET = GetUniqueAttrib();
extern KORVEL_API const int WA_TEXT_BACKGROUND = GetUniqueAttrib();
extern KORVEL_API const int WA_HAS_EDIT = GetUniqueAttrib();
extern KORVEL_API const int WA_TEXT_CASE = GetUniqueAttrib();
extern KORVEL_API const int WA_ICON_EXTRA = GetUniqueAttrib();
extern KORVEL_API const int WA_ICON_STYLE = GetUniqueAttrib();
extern KORVEL_API const int WA_SORT = GetUniqueAttrib();
extern KORVEL_API const int WA_IS_PASSWORD = GetUniqueAttrib();
extern KORVEL_API const int WA_AUTO_HSCROLL = GetUniqueAttrib();
extern KORVEL_API const int WA_ALLOWED_CHARS = GetUniqueAttrib();
extern KORVEL_API const int WA_UPDATE_ALWAYS = GetUniqueAttrib();
extern KORVEL_API const int WA_NUM_DISP_ROW = GetUniqueAttrib();
extern KORVEL_API const int WA_NUM_DISP_COL = GetUniqueAttrib();
extern KORVEL_API const int WA_VERTICAL_SCROLLBAR = GetUniqueAttrib();
extern KORVEL_API const int WA_HORIZONTAL_SCROLLBAR = GetUniqueAttrib();
extern KORVEL_API const int WA_TABLE_MODE = GetUniqueAttrib();
extern KORVEL_API const int WA_COL_ALIGN = GetUniqueAttrib();
extern KORVEL_API const int WA_CELL_HEIGHT = GetUniqueAttrib();
extern KORVEL_API const int WA_LINE_COLOR = GetUniqueAttrib();
extern KORVEL_API const int WA_SHOW_ENTRY = GetUniqueAttrib();
extern KORVEL_API const int WA_ENTRY_BASE = GetUniqueAttrib();
extern KORVEL_API const int WA_ALLOW_INSERT = GetUniqueAttrib();
extern KORVEL_API const int WA_HIGHLIGHT_SELECT = GetUniqueAttrib();
extern KORVEL_API const int WA_TITLE_SHADOW_THICK = GetUniqueAttrib();
extern KORVEL_API const int WA_TITLE_DOUBLE_CLICKS = GetUniqueAttrib();
extern KORVEL_API const int WA_SIDE_MARGIN = GetUniqueAttrib();
extern KORVEL_API const int WA_ATTACH_SIDE = GetUniqueAttrib();
extern KORVEL_API const int WA_VERTICAL_MARGIN = GetUniqueAttrib();
extern KORVEL_API const int WA_HORIZONTAL_MARGIN = GetUniqueAttrib();
extern KORVEL_API const int WA_DRAW_FRAME = GetUniqueAttrib();
extern KORVEL_API const int WA_ROW = GetUniqueAttrib();
extern KORVEL_API const int WA_COL = GetUniqueAttrib();
extern KORVEL_API const int WA_NUM_GRID_ROW = GetUniqueAttrib();
extern KORVEL_API const int WA_NUM_GRID_COL = GetUniqueAttrib();
extern KORVEL_API const int WA_TOP_MARGIN = GetUniqueAttrib();
extern KORVEL_API const int WA_BOTTOM_MARGIN = GetUniqueAttrib();
extern KORVEL_API const int WA_OUTER_MARGINS = GetUniqueAttrib();
extern KORVEL_API const int WA_ALIGN_RIGHT = GetUniqueAttrib();
extern KORVEL_API const int WA_ALLOW_HORZ = GetUniqueAttrib();
extern KORVEL_API const int WA_ALLOW_VERT = GetUniqueAttrib();
extern KORVEL_API const int WA_OUTER_MARGIN = GetUniqueAttrib();
extern KORVEL_API const int WA_INNER_MARGIN = GetUniqueAttrib();
extern KORVEL_API const int WA_TAB_NAME = GetUniqueAttrib();
extern KORVEL_API const int WA_TAB_RESIZE = GetUniqueAttrib();
extern KORVEL_API const int WA_VERT_SCROLL = GetUniqueAttrib();
extern KORVEL_API const int WA_HORZ_SCROLL = GetUniqueAttrib();
extern KORVEL_API const int WA_NUM_LINE = GetUniqueAttrib();
extern KORVEL_API const int WA_NUM_CHAR = GetUniqueAttrib();
extern KORVEL_API const int WA_TEXT = GetUniqueAttrib();
extern KORVEL_API const int WA_ALIGN_X = GetUniqueAttrib();
extern KORVEL_API const int WA_ALIGN_Y = GetUniqueAttrib();
extern KORVEL_API const int WA_JUST_X = GetUniqueAttrib();
extern KORVEL_API const int WA_MARGIN_WIDTH = GetUniqueAttrib();
extern KORVEL_API const int WA_LEFT_MARGIN = GetUniqueAttrib();
extern KORVEL_API const int WA_RIGHT_MARGIN = GetUniqueAttrib();
extern KORVEL_API const int WA_MARGIN_HEIGHT = GetUniqueAttrib();
extern KORVEL_API const int WA_FIELD_WIDTH = GetUniqueAttrib();
extern KORVEL_API const int WA_BITMAP_ID = GetUniqueAttrib();
extern KORVEL_API const int WA_CHECK_BOX = GetUniqueAttrib();
extern KORVEL_API const int WA_LIMIT_MOUSE = GetUniqueAttrib();
extern KORVEL_API const int WA_TOGGLE_MASK = GetUniqueAttrib();
extern KORVEL_API const int WA_SET_COLOR = GetUniqueAttrib();
extern KORVEL_API const int WA_SET_TEXT = GetUniqueAttrib();
extern KORVEL_API const int WA_ORIENTATION = GetUniqueAttrib();
extern KORVEL_API const int WA_MESSAGE_BOX = GetUniqueAttrib();
extern KORVEL_API const int WA_BUTTON_BAR = GetUniqueAttrib();
extern KORVEL_API const int WA_DEFAULT_SHADOW_STYLE = GetUniqueAttrib();
extern KORVEL_API const int WA_X = GetUniqueAttrib();
extern KORVEL_API const int WA_Y = GetUniqueAttrib();
extern KORVEL_API const int WA_WIDTH = GetUniqueAttrib();
extern KORVEL_API const int WA_HEIGHT = GetUniqueAttrib();
extern KORVEL_API const int WA_CLIENT_WIDTH = GetUniqueAttrib();
extern KORVEL_API const int WA_CLIENT_HEIGHT = GetUniqueAttrib();
extern KORVEL_API const int WA_IS_MAPPED = GetUniqueAttrib();
extern KORVEL_API const int WA_IS_MANAGED = GetUniqueAttrib();
extern KORVEL_API const int WA_SHADOW_STYLE = GetUniqueAttrib();
extern KORVEL_API const int WA_SHADOW_THICK = GetUniqueAttrib();
extern KORVEL_API const int WA_FONT = GetUniqueAttrib();
extern KORVEL_API const int WA_BORDERWIDTH = GetUniqueAttrib();
extern KORVEL_API const int WA_BACKGROUND = GetUniqueAttrib();
extern KORVEL_API const int WA_FOREGROUND = GetUniqueAttrib();
extern KORVEL_API const int WA_BORDER_COLOR = GetUniqueAttrib();
extern KORVEL_API const int WA_WINDOWS_STYLE = GetUniqueAttrib();
extern KORVEL_API const int WA_WINDOWS_EXSTYLE = GetUniqueAttrib();
extern KORVEL_API const int WA_RESIZE_BORDER = GetUniqueAttrib();
extern KORVEL_API const int WA_CLASS_ATOM = GetUniqueAttrib();
extern KORVEL_API const int WA_ADD_WINDOWS_STYLE = GetUniqueAttrib();
extern KORVEL_API const int WA_ENABLE_IS_MODIFIED = GetUniqueAttrib();
extern KORVEL_API const int WA_ADD_TO_TAB_GROUP = GetUniqueAttrib();
extern KORVEL_API const int WA_SHOW_DISABLED = GetUniqueAttrib();
extern KORVEL_API const int WA_ENTER_LEAVE_ENABLED = GetUniqueAttrib();
extern KORVEL_API const int WA_USE_REGISTRY_POS = GetUniqueAttrib();
extern KORVEL_API const int WA_USE_REGISTRY_SIZE = GetUniqueAttrib();
extern KORVEL_API const int WA_ERASE_BACKGROUND = GetUniqueAttrib();
extern KORVEL_API const int WA_IS_GRIP_WIN = GetUniqueAttrib();
extern KORVEL_API const int WA_MODIFIED_ON_CHANGE = GetUniqueAttrib();
extern KORVEL_API const int WA_VERT_DIV = GetUniqueAttrib();
extern KORVEL_API const int WA_HORZ_DIV = GetUniqueAttrib();
