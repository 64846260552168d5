// The shortcut files' contents and names.
