// The print and information font panels of the options window.
