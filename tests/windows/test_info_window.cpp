// The information window in its three modes, driven through its named controls.
