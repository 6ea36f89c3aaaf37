# The conformance tests that also build for Windows (tests/windows builds them into
# tellbud_platform_tests.exe, run under Wine), with the support layer's Windows side.
set(TELLBUD_PLATFORM_WINDOWS_TESTS
    support/test_desktop_windows.cpp
    support/inspect_windows.cpp
    com_bstr_test.cpp
    com_guid_test.cpp
    com_variant_test.cpp
    combo_list_test.cpp
    control_buttons_test.cpp
    dialog_create_test.cpp
    dialog_items_test.cpp
    edit_text_test.cpp
    listview_items_test.cpp
    menu_items_test.cpp
    strings_compare_test.cpp
    strings_copy_test.cpp
    strings_format_test.cpp
    kernel_memory_test.cpp
    trackbar_drag_test.cpp
    keyboard_input_test.cpp
    activation_hide_test.cpp
    kernel_files_test.cpp
    com_headers_test.cpp
    dialog_modal_test.cpp)
