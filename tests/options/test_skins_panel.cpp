// The skins panel of the options window: the installed skins and their live preview.
